# Makes the page one file: index.html with style.css in a <style> element and one inline
# <script type="module"> that holds the npm package (the engine and chenggu.mjs, in a scope
# of their own that yields the package's exports as the object chenggu), the page's
# Traditional texts (traditional.mjs) and app.mjs, which imports both.
# Usage: cmake -D SOURCE=web -D PACKAGE=build/js/package -D OUTPUT=index.html -P bundle.cmake
file(READ ${SOURCE}/index.html html)
file(READ ${SOURCE}/style.css css)
file(READ ${SOURCE}/app.mjs app)
file(READ ${PACKAGE}/engine.mjs engine)
file(READ ${PACKAGE}/chenggu.mjs package)
file(READ ${SOURCE}/traditional.mjs traditional)

function(remove text variable)
    string(FIND "${${variable}}" "${text}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "${variable} has no ${text}")
    endif()
    string(REPLACE "${text}" "" result "${${variable}}")
    set(${variable} "${result}" PARENT_SCOPE)
endfunction()

# The modules no longer import or export: the package's exports are gathered at the end of
# its scope.
remove("export default createEngine;" engine)
remove("import createEngine from './engine.mjs';" package)
remove("import * as chenggu from './chenggu.mjs';" app)
remove("import TRADITIONAL from './traditional.mjs';" app)
remove("export default " traditional)
set(app "const TRADITIONAL = ${traditional}\n${app}")
string(REGEX MATCHALL "\nexport (function|const) [A-Za-z_]+" exports "${package}")
string(REGEX REPLACE "\nexport (function|const) " "" names "${exports}")
string(REGEX REPLACE "\nexport (function|const) " "\n\\1 " package "${package}")
string(FIND "${package}" "export " left)
if(NOT left EQUAL -1)
    message(FATAL_ERROR "chenggu.mjs exports in a form this bundle does not know")
endif()
list(JOIN names ", " names)
set(package "const chenggu = await (async () => {\n${package}\nreturn { ${names} };\n})();\n")

foreach(part engine package traditional app css)
    string(FIND "${${part}}" "</script" found)
    string(FIND "${${part}}" "</style" found_style)
    if(NOT found EQUAL -1 OR NOT found_style EQUAL -1)
        message(FATAL_ERROR "${part} cannot be inlined: it holds a closing tag")
    endif()
endforeach()

set(stylesheet [[<link rel="stylesheet" href="style.css">]])
set(script [[<script type="module" src="app.mjs"></script>]])
foreach(tag stylesheet script)
    string(FIND "${html}" "${${tag}}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "index.html has no ${${tag}}")
    endif()
endforeach()
string(REPLACE "${stylesheet}" "<style>\n${css}</style>" html "${html}")
string(REPLACE "${script}" "<script type=\"module\">\n${engine}\n${package}\n${app}</script>" html
    "${html}")
file(WRITE ${OUTPUT} "${html}")
