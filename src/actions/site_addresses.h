#pragma once
// The two pages the buttons open. The host is fixed when the program is
// built (KESTRUNE_SITE_HOST, checked by the build so that the shell can only
// take the bare host for a web address); both addresses are whole constant
// texts, never composed at run time.

#ifndef KESTRUNE_SITE_HOST
#error "KESTRUNE_SITE_HOST must be defined by the build"
#endif

constexpr char kHomeAddress[] = KESTRUNE_SITE_HOST;
constexpr char kTutorialAddress[] = "http://" KESTRUNE_SITE_HOST "/course.html";
