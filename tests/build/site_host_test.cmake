cmake_minimum_required(VERSION 3.20)
# The build accepts a site host only if the shell can take it for nothing but
# a web address. Run with `cmake -P`.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/SiteHost.cmake)

set(good
    www.kestrune.cn
    www.example.org
    www.Example.NET
    www.a-b.c-d.co.uk
    www.x1.io
    www.kestrune.xn--fiqs8s)
set(bad
    "kestrune.cn|must begin"
    "example.www.cn|must begin"
    "http://www.kestrune.cn|must begin"
    "www.kestrune.cn/|bare host"
    "www.kestrune.cn:8080|bare host"
    "www.kestrune.cn/course.html|bare host"
    "www.user@kestrune.cn|bare host"
    "www.kestrune.cn.|end with a dot"
    "www.|end with a dot"
    "www|must begin"
    "WWW.kestrune.cn|must begin"
    "www..cn|invalid label"
    "www.-kestrune.cn|invalid label"
    "www.kestrune-.cn|invalid label"
    "www.kes_trune.cn|invalid label"
    "www.kes trune.cn|bare host"
    "www.kestrune.cn\\evil|bare host"
    "www.1.2.3|not a number"
    "www.kestrune.com|.com"
    "www.kestrune.COM|.com"
    "www.kestrune.exe|.exe"
    "www.kestrune.bat|.bat"
    "www.kestrune.cmd|.cmd"
    "www.kestrune.pif|.pif"
    "www.kestrune.scr|.scr"
    "www.kestrune.js|.js"
    "www.kestrune.vbs|.vbs"
    "www.kestrune.hta|.hta"
    "www.kestrune.ps1|.ps1"
    "www.kestrune.lnk|.lnk"
    "www.kestrune.url|.url"
    "www.kestrune.msi|.msi"
    "www.kestrune.zip|.zip")

set(failures 0)
foreach(host IN LISTS good)
    kestrune_check_site_host("${host}" error)
    if(NOT error STREQUAL "")
        message(SEND_ERROR "rejected good host ${host}: ${error}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
string(REPEAT "a" 64 long_label)
string(REPEAT "abcdefghi." 25 long_host)
list(APPEND bad "www.${long_label}.cn|invalid label" "www.${long_host}cn|longer than 253")
foreach(case IN LISTS bad)
    string(FIND "${case}" "|" bar REVERSE)
    string(SUBSTRING "${case}" 0 ${bar} host)
    math(EXPR from "${bar} + 1")
    string(SUBSTRING "${case}" ${from} -1 reason)
    kestrune_check_site_host("${host}" error)
    string(FIND "${error}" "${reason}" found)
    if(error STREQUAL "" OR found EQUAL -1)
        message(SEND_ERROR "host ${host}: expected an error about '${reason}', got '${error}'")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
list(LENGTH good good_count)
list(LENGTH bad bad_count)
if(failures GREATER 0)
    message(FATAL_ERROR "${failures} site host cases failed")
endif()
message(STATUS "site host rule: ${good_count} good and ${bad_count} bad hosts judged as expected")
