# Gathers the web site: the page with the program inside, the static files, the icons, and a
# service worker that keeps exactly these files under a name that changes with their content;
# then zips the site. Run with -DSOURCE_DIR, -DICON_DIR, -DSITE_DIR, -DZIP, -DPYTHON, -DZIPPER,
# -DHEAD_SCRIPT (the script that carries the fonts and the first highlights), -DPROGRAM_SCRIPT
# (the program's script, with its module), -DPAGE_PARTS (the writer of the form's markup and
# rules) and -DWORK_DIR (for files the site does not carry).
configure_file(${SOURCE_DIR}/manifest.webmanifest ${SITE_DIR}/manifest.webmanifest COPYONLY)
# The style sheet, the head's script and the program's script travel inside the page: the
# browser lays the page out, reads the fonts, colours the highlights and starts the program as
# soon as the page has arrived rather than one request later. The policy allows exactly those
# three, each by its digest.
function(digest file variable)
    execute_process(
        COMMAND ${PYTHON} -c "import base64, hashlib, sys; print(base64.b64encode(hashlib.sha256(open(sys.argv[1], 'rb').read()).digest()).decode())"
                ${file}
        OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
    set(${variable} ${value} PARENT_SCOPE)
endfunction()
# The form itself, written from its table: its caption and elements join the page, the rules
# that place them the style sheet, so that the first frame draws the whole form.
foreach(part caption markup rules)
    string(TOUPPER ${part} variable)
    execute_process(COMMAND ${PAGE_PARTS} --${part} OUTPUT_VARIABLE FORM_${variable}
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(READ ${SOURCE_DIR}/velandra.css STYLE)
string(APPEND STYLE "${FORM_RULES}")
file(WRITE ${WORK_DIR}/page-style.css "${STYLE}")
digest(${WORK_DIR}/page-style.css STYLE_HASH)
file(READ ${HEAD_SCRIPT} HEAD)
digest(${HEAD_SCRIPT} HEAD_HASH)
file(READ ${PROGRAM_SCRIPT} PROGRAM)
digest(${PROGRAM_SCRIPT} PROGRAM_HASH)
# Inside the page, the program's script would end at the first "</script".
string(TOLOWER "${PROGRAM}" program_lower)
string(FIND "${program_lower}" "</script" script_end)
if(NOT script_end EQUAL -1)
    message(FATAL_ERROR "${PROGRAM_SCRIPT} holds \"</script\" at ${script_end}")
endif()
configure_file(${SOURCE_DIR}/index.html.in ${SITE_DIR}/index.html @ONLY)
file(REMOVE ${SITE_DIR}/velandra.css ${SITE_DIR}/velandra.js)
configure_file(${ICON_DIR}/it.velandra.Velandra.svg ${SITE_DIR}/velandra.svg COPYONLY)
# The fonts travel inside the page, their licences beside it, as those licences ask: of each
# package's copyright file, its header and the paragraph on the font files ("Files: *"), which
# holds their licence. The paragraphs that follow it cover files the site does not carry (the
# Debian packaging, test documents) under other licences.
foreach(package fonts-liberation2 fonts-ebgaramond fonts-dejavu-core)
    file(READ /usr/share/doc/${package}/copyright copyright)
    string(FIND "${copyright}" "\nFiles: *\n" fonts_paragraph)
    if(fonts_paragraph EQUAL -1)
        message(FATAL_ERROR "${package}: no paragraph on Files: * in its copyright file")
    endif()
    string(SUBSTRING "${copyright}" ${fonts_paragraph} -1 from_fonts)
    string(FIND "${from_fonts}" "\n\nFiles: " next_paragraph)
    set(licence "${copyright}")
    if(NOT next_paragraph EQUAL -1)
        math(EXPR kept "${fonts_paragraph} + ${next_paragraph} + 1")
        string(SUBSTRING "${copyright}" 0 ${kept} licence)
    endif()
    file(WRITE ${SITE_DIR}/licences/${package}-copyright.txt "${licence}")
endforeach()
foreach(size 192 512)
    configure_file(${ICON_DIR}/icons/velandra-${size}.png ${SITE_DIR}/velandra-${size}.png COPYONLY)
endforeach()

# Exactly the files the build makes, whatever else an older build left in the folder.
set(site_files index.html manifest.webmanifest velandra.svg
    velandra-192.png velandra-512.png)
foreach(package fonts-liberation2 fonts-ebgaramond fonts-dejavu-core)
    list(APPEND site_files licences/${package}-copyright.txt)
endforeach()
list(SORT site_files)
set(listing "'./'")
set(contents "")
foreach(file ${site_files})
    string(APPEND listing ", './${file}'")
    file(SHA256 ${SITE_DIR}/${file} digest)
    string(APPEND contents "${file} ${digest}\n")
endforeach()
string(SHA256 SITE_DIGEST "${contents}")
string(SUBSTRING ${SITE_DIGEST} 0 16 SITE_DIGEST)
set(SITE_FILES "${listing}")
configure_file(${SOURCE_DIR}/service-worker.js.in ${SITE_DIR}/service-worker.js @ONLY)

list(APPEND site_files service-worker.js)
execute_process(
    COMMAND ${PYTHON} ${ZIPPER} ${ZIP} ${SITE_DIR} ${site_files}
    COMMAND_ERROR_IS_FATAL ANY)
