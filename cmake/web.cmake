# The browser build: the core and the web backend's glue compiled to
# WebAssembly, and the page's own files beside it in VOK_WEB_DIR.
# scripts/build-web configures it with emcmake and adds the data set and the
# music, which the native build makes.
set(VOK_WEB_DIR ${CMAKE_BINARY_DIR}/page CACHE PATH "Where the page is assembled")
set(VOK_WEB_PAGE_FILES index.html vokdemo.css page.js page_state.js checks.js music.js verify.js keys.js
  flash_warning.js screen_fit.js touch.js manifest.webmanifest)

add_executable(vokweb app/web/web_show.cpp app/web/web_checks.cpp app/web/page_link.cpp)
target_link_libraries(vokweb PRIVATE vokshell vokconvert vokverify)
set_target_properties(vokweb PROPERTIES OUTPUT_NAME vokdemo SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${VOK_WEB_DIR})
target_link_options(vokweb PRIVATE
  --no-entry
  -sMODULARIZE=1 -sEXPORT_NAME=createVokdemo
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=FS,UTF8ToString,ccall)

set(page_outputs)
foreach(name ${VOK_WEB_PAGE_FILES})
  add_custom_command(OUTPUT ${VOK_WEB_DIR}/${name}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/app/web/${name} ${VOK_WEB_DIR}/${name}
    DEPENDS ${CMAKE_SOURCE_DIR}/app/web/${name})
  list(APPEND page_outputs ${VOK_WEB_DIR}/${name})
endforeach()
add_custom_target(vokwebpage ALL DEPENDS ${page_outputs})
