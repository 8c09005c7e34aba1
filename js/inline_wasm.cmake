# The engine carries its WebAssembly inline, as a data: address. Debian's emscripten 3.1.6
# still fetch()es that address before decoding it, which costs 50-60 ms at every start in
# node and in browsers alike; later emscripten releases decode it directly, and so does the
# engine after this step. Usage: cmake -D ENGINE=engine.mjs -P inline_wasm.cmake
file(READ ${ENGINE} engine)
set(fetching [[if(!wasmBinary&&(ENVIRONMENT_IS_WEB||ENVIRONMENT_IS_WORKER)){if(typeof fetch=="function"){]])
set(decoding [[if(!wasmBinary&&(ENVIRONMENT_IS_WEB||ENVIRONMENT_IS_WORKER)){if(typeof fetch=="function"&&!isDataURI(wasmBinaryFile)){]])
string(FIND "${engine}" "${fetching}" found)
if(found EQUAL -1)
    string(FIND "${engine}" "${decoding}" done)
    if(done EQUAL -1)
        message(FATAL_ERROR "${ENGINE}: emscripten's loader is not the one this step knows")
    endif()
    return()
endif()
string(REPLACE "${fetching}" "${decoding}" engine "${engine}")
file(WRITE ${ENGINE} "${engine}")
