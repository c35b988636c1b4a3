# The home address is handed to the shell as the bare host name. The shell
# first looks for a file or program of that name (in the program's folder,
# then on PATH) and only then takes a name beginning with "www." for a web
# address, so the host must not look like anything Windows would run or open.

set(KESTRUNE_RISKY_EXTENSIONS
    application appref-ms appx appxbundle bat cab chm cmd com cpl crt der diagcab doc docm docx exe gadget hlp
    hta htm html inf ini ins isp iso jar jnlp js jse lnk mht mhtml msc msi msix msixbundle msp mst pdf pif ppt
    pptx ps1 ps1xml ps2 ps2xml psc1 psc2 psd1 psm1 reg rtf scf scr sct search-ms settingcontent-ms shb shs svg
    txt url vb vbe vbs vhd vhdx ws wsc wsf wsh xls xlsm xlsx xml zip)

# Sets `out_error` to why `host` cannot be the site's host, or to "" when it can.
function(kestrune_check_site_host host out_error)
    set(error "")
    string(LENGTH "${host}" length)
    if(NOT host MATCHES "^www\\.")
        set(error "must begin with \"www.\"")
    elseif(length GREATER 253)
        set(error "is longer than 253 characters")
    elseif(host MATCHES "[:/@?#\\\\ ]")
        set(error "must be a bare host name: no scheme, user, port or path")
    elseif(host MATCHES "\\.$")
        set(error "must not end with a dot")
    else()
        string(REPLACE "." ";" labels "${host}")
        list(LENGTH labels count)
        if(count LESS 2)
            set(error "needs a label after \"www.\"")
        endif()
        foreach(label IN LISTS labels)
            string(LENGTH "${label}" size)
            if(size EQUAL 0 OR size GREATER 63 OR NOT label MATCHES "^[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?$")
                set(error "has an invalid label \"${label}\" (letters, digits and inner hyphens, 1 to 63 long)")
                break()
            endif()
        endforeach()
        if(error STREQUAL "")
            list(GET labels -1 last)
            string(TOLOWER "${last}" last)
            if(NOT last MATCHES "[a-z]")
                set(error "must end in a name, not a number")
            elseif(last IN_LIST KESTRUNE_RISKY_EXTENSIONS)
                set(error "ends in \".${last}\", a file type Windows runs or opens")
            endif()
        endif()
    endif()
    set(${out_error} "${error}" PARENT_SCOPE)
endfunction()
