# Makes the page, as files any static host serves as they are and a browser also opens from
# disk (so only classic scripts, which load from file: too; and none inline, which the page's
# content security policy forbids):
#   index.html      the page, style.css in a <style> element;
#   care.js         applies 关怀模式 before the first paint (a few lines, read at once);
#   app.js          the page's script (app.mjs), deferred, which reads in
#   engine.js       the npm package around the engine without the tables of zones and places
#                   (CORE; the package's chenggu.mjs in a scope of its own that yields its
#                   exports, as the promise globalThis.chengguCore), preloaded from the start;
#   traditional.js  the page's own words in Traditional characters (generated/traditional.mjs),
#                   read in when the page shows Traditional;
#   birthplace.js   the same around the whole engine (globalThis.chengguWithPlaces), read in
#                   when a birthplace, the lunar birthdays or the like first need it;
#   picture.js      the share picture's painter (picture.mjs), and qrcode.js, read in on first
#                   use;
# and the web app's manifest, icons and service worker.
# Usage: cmake -D SOURCE=web -D PACKAGE=build/js/package -D CORE=core-engine.mjs
#              -D WHOLE=whole-engine.mjs -D OUTPUT=index.html -P bundle.cmake
# (the engines as pack_engine.mjs leaves them)
file(READ ${SOURCE}/index.html html)
file(READ ${SOURCE}/style.css css)
file(READ ${SOURCE}/app.mjs app)
file(READ ${SOURCE}/picture.mjs picture)
file(READ ${SOURCE}/care.js care)
file(READ ${SOURCE}/sw.js worker)
file(READ ${CORE} engine)
file(READ ${WHOLE} whole_engine)
file(READ ${PACKAGE}/chenggu.mjs package)
file(READ ${SOURCE}/generated/traditional.mjs traditional)

function(remove text variable)
    string(FIND "${${variable}}" "${text}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "${variable} has no ${text}")
    endif()
    string(REPLACE "${text}" "" result "${${variable}}")
    set(${variable} "${result}" PARENT_SCOPE)
endfunction()

# Comments and indentation are for the sources, not for the download: comments on lines of
# their own, the style sheet's, and the blanks that begin lines.
foreach(part app package picture care worker)
    string(REGEX REPLACE "(^|\n)[ ]*//[^\n]*" "" ${part} "${${part}}")
    string(REGEX REPLACE "\n[ ]+" "\n" ${part} "${${part}}")
endforeach()
string(REGEX REPLACE "\n[ ]+" "\n" html "${html}")
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/\n?" "" css "${css}")

# The modules no longer import or export: the package's exports are gathered at the end of
# its scope.
remove("export default createEngine;" engine)
remove("export default createEngine;" whole_engine)
# A classic script has no import.meta; the engine carries its WebAssembly and needs no address.
string(REPLACE "import.meta.url" "undefined" whole_engine "${whole_engine}")
string(REPLACE "import.meta.url" "undefined" engine "${engine}")
remove("import createEngine from './engine.mjs';" package)
remove("import * as chenggu from './chenggu.mjs';" app)
string(REGEX REPLACE "\nexport (function|const) " "\n\\1 " picture "${picture}")
remove("export default " traditional)
string(REGEX MATCHALL "\nexport (function|const|class) [A-Za-z_]+" exports "${package}")
string(REGEX REPLACE "\nexport (function|const|class) " "" names "${exports}")
string(REGEX REPLACE "\nexport (function|const|class) " "\n\\1 " package "${package}")
foreach(part package app)
    string(REGEX MATCH "(^|\n)(import|export) " left "${${part}}")
    if(left)
        message(FATAL_ERROR "${part} imports or exports in a form this bundle does not know")
    endif()
endforeach()
list(JOIN names ", " names)
set(scoped "${package}\nreturn { ${names} };\n})();\n")

get_filename_component(folder ${OUTPUT} DIRECTORY)
# Share pages of an earlier build for a public address are made again, if at all, after this.
file(GLOB stale_share_pages ${folder}/share-*.html)
if(stale_share_pages)
    file(REMOVE ${stale_share_pages})
endif()
file(WRITE ${folder}/birthplace.js "// The whole chenggu engine, with the tables of zones and places.\n"
    "globalThis.chengguWithPlaces = (async () => {\n${whole_engine}\n${scoped}")
set(core "// The chenggu engine of the first visit, without the tables of zones and places.\n"
    "globalThis.chengguCore = (async () => {\n${engine}\n${scoped}")
file(WRITE ${folder}/engine.js "${core}")
file(WRITE ${folder}/traditional.js "globalThis.chengguTraditional = ${traditional}")
# The page's script reads the engine in (fetched from the start, as the page preloads it); a
# page sent with its reading in it (chenggu serve) is painted first.
set(start [[const chenggu = await new Promise((resolve, reject) => {
const read = () => document.head.append(Object.assign(document.createElement('script'),
{ src: 'engine.js', onload: () => resolve(globalThis.chengguCore), onerror: reject }));
if (document.body.dataset.state === 'rendered') requestAnimationFrame(() => setTimeout(read));
else read();
});]])
set(app "(async () => {\n${start}\n${app}})();\n")
file(WRITE ${folder}/app.js "${app}")
file(WRITE ${folder}/picture.js "// The pictures of a reading (web/picture.mjs).\n"
    "globalThis.chengguPicture = (() => {\n${picture}\nreturn { drawShare, drawPreview };\n})();\n")
file(WRITE ${folder}/care.js "${care}")

string(FIND "${css}" "</style" found)
if(NOT found EQUAL -1)
    message(FATAL_ERROR "style.css cannot be inlined: it holds a closing tag")
endif()
set(stylesheet [[<link rel="stylesheet" href="style.css">]])
set(script [[<script type="module" src="app.mjs"></script>]])
foreach(tag stylesheet script)
    string(FIND "${html}" "${${tag}}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "index.html has no ${${tag}}")
    endif()
endforeach()
string(REPLACE "${stylesheet}" "<style>\n${css}</style>" html "${html}")
string(REPLACE "${script}" "<link rel=\"preload\" href=\"engine.js\" as=\"script\">\n<script src=\"app.js\" defer></script>" html
    "${html}")
file(WRITE ${OUTPUT} "${html}")

# The web app around the page: its manifest, its icons, and the service worker with a cache
# named after this build's page, so that a new build replaces what an old one kept.
file(COPY ${SOURCE}/manifest.webmanifest ${SOURCE}/generated/icon-192.png
    ${SOURCE}/generated/icon-512.png DESTINATION ${folder})
# The QR code library of the share picture (npm qrcode-generator, MIT), loaded on first use.
file(COPY_FILE ${SOURCE}/../node_modules/qrcode-generator/dist/qrcode.js ${folder}/qrcode.js)
string(SHA256 build "${html}${core}${app}${traditional}")
string(SUBSTRING "${build}" 0 16 build)
string(REPLACE "chenggu-BUILD" "chenggu-${build}" worker "${worker}")
file(WRITE ${folder}/sw.js "${worker}")
