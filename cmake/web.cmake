# Settings of the WebAssembly build (emscripten, under node). Exceptions
# are caught (the distributions and the readers throw); every program is
# one .js file with its WebAssembly inside (-sSINGLE_FILE), which node
# loads without fetching and a page loads from file://; programs under
# node see the real file system (-sNODERAWFS) and end with main's status.
# -sPRINTF_LONG_DOUBLE links the C library's full printf and strtold:
# without it both go through double, and a report printed from binary128
# figures shows the double's digits.
add_compile_options(-fexceptions)
add_link_options(-fexceptions -sSINGLE_FILE=1 -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1
                 -sPRINTF_LONG_DOUBLE=1 -sTOTAL_STACK=5MB)
set(CMAKE_EXECUTABLE_SUFFIX ".js")
