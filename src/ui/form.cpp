#include "ui/form.h"

#include "actions/site_actions.h"

const FormEntry kForm[kFormSize] = {
    {Kind::Window, "", {50, 50, 673, 76}, true, false, false, 0, "Kestrune", nullptr},
    {Kind::Button, "按钮2", {584, 5, 80, 32}, true, false, true, 0, "使用教学", OpenTutorialPage},
    {Kind::Button, "按钮1", {496, 5, 80, 32}, true, false, true, 0, "立即观看", OpenHomePage},
    {Kind::EditBox, "编辑框1", {109, 11, 379, 20}, true, false, true, 0, "", nullptr},
    {Kind::TransLabel, "透明标签1", {8, 5, 144, 32}, true, false, false, 0, "需要观看的网址：", nullptr},
};
