# Makes the page: index.html with style.css in a <style> element, and beside it app.js, the
# page's module (its Traditional texts, generated/traditional.mjs, and app.mjs; a file of its
# own, for the page allows no inline script), engine.js, a classic script (classic scripts
# load from disk too) that the page preloads and its module reads in, with the npm package around the engine without the tables of zones and places (CORE;
# the package's chenggu.mjs in a scope of its own that yields its exports), as the promise
# globalThis.chengguCore, which the module awaits as chenggu; birthplace.js, the same around
# the whole engine, which the page loads when a birthplace is first asked for, as the promise
# globalThis.chengguWithPlaces; and the web app's manifest, icons and service worker.
# Usage: cmake -D SOURCE=web -D PACKAGE=build/js/package -D CORE=core-engine.mjs
#              -D WHOLE=whole-engine.mjs -D OUTPUT=index.html -P bundle.cmake
# (the engines as pack_engine.mjs leaves them)
file(READ ${SOURCE}/index.html html)
file(READ ${SOURCE}/style.css css)
file(READ ${SOURCE}/app.mjs app)
file(READ ${SOURCE}/picture.mjs picture)
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

# Comments are for the sources, not for the download: those on lines of their own, and the
# style sheet's.
foreach(part app package picture)
    string(REGEX REPLACE "\n[ ]*//[^\n]*" "" ${part} "${${part}}")
endforeach()
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
remove("import TRADITIONAL from './generated/traditional.mjs';" app)
string(REGEX REPLACE "\nexport (function|const) " "\n\\1 " picture "${picture}")
remove("export default " traditional)
set(app "const TRADITIONAL = ${traditional}\n${app}")
string(REGEX MATCHALL "\nexport (function|const|class) [A-Za-z_]+" exports "${package}")
string(REGEX REPLACE "\nexport (function|const|class) " "" names "${exports}")
string(REGEX REPLACE "\nexport (function|const|class) " "\n\\1 " package "${package}")
string(FIND "${package}" "export " left)
if(NOT left EQUAL -1)
    message(FATAL_ERROR "chenggu.mjs exports in a form this bundle does not know")
endif()
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
# The first engine is a classic script of its own, fetched from the page's start (preload) and
# read in by the page's module, so that a page sent with its reading is painted first.
set(core "// The chenggu engine of the first visit, without the tables of zones and places.\n"
    "globalThis.chengguCore = (async () => {\n${engine}\n${scoped}")
file(WRITE ${folder}/engine.js "${core}")
# The page's module reads the engine in (fetched from the start, as the page preloads it); a
# page sent with its reading in it (chenggu serve) is painted first.
set(package [[const chenggu = await new Promise((resolve, reject) => {
  const read = () => document.head.append(Object.assign(document.createElement('script'),
    { src: 'engine.js', onload: () => resolve(globalThis.chengguCore), onerror: reject }));
  if (document.body.dataset.state === 'rendered') requestAnimationFrame(() => setTimeout(read));
  else read();
});]])

foreach(part package traditional app css)
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
string(REPLACE "${script}" "<link rel=\"preload\" href=\"engine.js\" as=\"script\">\n  <script type=\"module\" src=\"app.js\"></script>" html
    "${html}")
file(WRITE ${OUTPUT} "${html}")
file(WRITE ${folder}/app.js "${package}\n${app}")
# The share picture's painter, a classic script loaded on first use like qrcode.js.
file(WRITE ${folder}/picture.js "// The pictures of a reading (web/picture.mjs).\n"
    "globalThis.chengguPicture = (() => {\n${picture}\nreturn { drawShare, drawPreview };\n})();\n")

# The web app around the page: its manifest, its icons, and the service worker with a cache
# named after this build's page, so that a new build replaces what an old one kept.
file(COPY ${SOURCE}/manifest.webmanifest ${SOURCE}/generated/icon-192.png
    ${SOURCE}/generated/icon-512.png DESTINATION ${folder})
# The QR code library of the share picture (npm qrcode-generator, MIT), loaded on first use.
file(COPY_FILE ${SOURCE}/../node_modules/qrcode-generator/dist/qrcode.js ${folder}/qrcode.js)
file(READ ${SOURCE}/sw.js worker)
string(REGEX REPLACE "(^|\n)[ ]*//[^\n]*" "" worker "${worker}")
string(SHA256 build "${html}${core}${package}${app}")
string(SUBSTRING "${build}" 0 16 build)
string(REPLACE "chenggu-BUILD" "chenggu-${build}" worker "${worker}")
file(WRITE ${folder}/sw.js "${worker}")
