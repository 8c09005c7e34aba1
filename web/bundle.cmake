# Makes the page one file: index.html with style.css in a <style> element and the engine
# module followed by app.mjs in one inline <script type="module">.
# Usage: cmake -D SOURCE=web -D ENGINE=engine.mjs -D OUTPUT=index.html -P bundle.cmake
file(READ ${SOURCE}/index.html html)
file(READ ${SOURCE}/style.css css)
file(READ ${SOURCE}/app.mjs app)
file(READ ${ENGINE} engine)

# The two modules become one: the engine no longer exports, the page no longer imports.
string(REPLACE "export default createEngine;" "" engine "${engine}")
string(REPLACE "import createEngine from './engine.mjs';" "" app "${app}")
foreach(part engine app css)
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
string(REPLACE "${script}" "<script type=\"module\">\n${engine}\n${app}</script>" html "${html}")
file(WRITE ${OUTPUT} "${html}")
