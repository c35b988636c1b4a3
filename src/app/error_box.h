#pragma once
// The one failure the program reports: its window could not be built.
// The texts are code page 936 at run time.

constexpr char kErrorBoxTitle[] = "错误";
constexpr char kErrorBoxText[] = "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n";

// Shows the error box and waits until the user closes it.
void ShowStartFailure();
