# The portable package: `cmake --install` lays it out, CPack zips it.
#   Glimmershot.exe
#   help\index.html
#   Data\TesseractOCR\ff.exe, tesseract.exe, README.txt
#   Data\TesseractOCR\ffmpeg\ffmpeg.exe and its licence texts
#   Data\TesseractOCR\tesseract\tesseract.exe, tessdata\ and its licence texts
install(TARGETS Glimmershot RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/help/index.html ${PROJECT_SOURCE_DIR}/help/panel.png DESTINATION help)
install(TARGETS ff tesseract RUNTIME DESTINATION Data/TesseractOCR)
foreach(engine IN LISTS GS_ENGINES)
  install(DIRECTORY ${engine} DESTINATION Data/TesseractOCR)
endforeach()
# Written with CR LF, for the editors on the machines it is meant for.
configure_file(${PROJECT_SOURCE_DIR}/tools/README.txt ${CMAKE_BINARY_DIR}/tools-README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/tools-README.txt DESTINATION Data/TesseractOCR RENAME README.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Glimmershot)
set(CPACK_PACKAGE_VENDOR Glimmershot)
set(CPACK_PACKAGE_FILE_NAME Glimmershot-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
