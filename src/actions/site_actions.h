#pragma once
// The two click actions of the main window's push buttons.

void OpenHomePage();
void OpenTutorialPage();
