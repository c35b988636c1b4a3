// Every text the program shows or hands on, pinned to its GBK bytes: a build
// that forgets to convert the UTF-8 sources fails here.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "actions/site_addresses.h"
#include "app/error_box.h"
#include "ui/form.h"

namespace {

std::string Bytes(const char* s) { return std::string(s); }

TEST(Texts, ErrorBoxIsGbk) {
    EXPECT_EQ(Bytes(kErrorBoxTitle), "\xB4\xED\xCE\xF3");  // 错误
    // 运行时出错! CR LF CR LF 错误信息：载入启动窗口失败 CR LF
    EXPECT_EQ(Bytes(kErrorBoxText),
              "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
              "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
              "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC\r\n");
}

TEST(Texts, CaptionsAreGbk) {
    struct Expected {
        size_t entry;
        const char* caption;
    };
    const Expected expected[] = {
        {0, "Kestrune"},
        {1, "\xCA\xB9\xD3\xC3\xBD\xCC\xD1\xA7"},  // 使用教学
        {2, "\xC1\xA2\xBC\xB4\xB9\xDB\xBF\xB4"},  // 立即观看
        {3, ""},
        {4, "\xD0\xE8\xD2\xAA\xB9\xDB\xBF\xB4\xB5\xC4\xCD\xF8\xD6\xB7\xA3\xBA"},  // 需要观看的网址：
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.entry);
        EXPECT_EQ(Bytes(kForm[e.entry].caption), e.caption);
    }
}

TEST(Texts, AddressesAreWholeConstants) {
    EXPECT_EQ(Bytes(kHomeAddress), KESTRUNE_SITE_HOST);
    EXPECT_EQ(Bytes(kTutorialAddress), std::string("http://") + KESTRUNE_SITE_HOST + "/course.html");
    EXPECT_EQ(std::strncmp(kHomeAddress, "www.", 4), 0);
}

}  // namespace
