# Where the program's files go: `cmake --install` (any prefix), the copy of the
# help page and the sample libraries beside the executable in the build tree,
# and the .deb package made by `cpack -G DEB`.

set(ORVANE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/orvane)
set(ORVANE_PRIVATE_LIB_DIR ${CMAKE_INSTALL_LIBDIR}/orvane)
set(ORVANE_APP_ID org.orvane.Editor)
set(res ${PROJECT_SOURCE_DIR}/resources)

# The program's folder: the help page, its pictures and the three libraries.
set(ORVANE_DATA_FILES
  help.htm
  help/edit-view.png
  help/source-view.png
  help/image-library.png
  help/script-library.png
  "javascript library/check-form.js"
  "javascript library/last-modified.js"
  "javascript library/slide-show.js"
  "javascript library/open-popup.js"
  "javascript library/clock.js"
  "javascript library/email-link.js"
  "javascript library/back-to-top.js"
  "asp library/header-include.asp"
  "asp library/form-mail.asp"
  "asp library/database-list.asp"
  "asp library/page-counter.asp"
  "asp library/login-check.asp"
  "image library/button-blue.png"
  "image library/button-green.png"
  "image library/bullet-red.png"
  "image library/bullet-arrow.png"
  "image library/rule-fade.png"
  "image library/rule-dots.png"
  "image library/background-paper.png"
  "image library/background-stripes.png"
  "image library/new-badge.png")

# In the build tree the executable's folder is the program's folder.
set(staged)
foreach(file IN LISTS ORVANE_DATA_FILES)
  set(out ${CMAKE_BINARY_DIR}/app/${file})
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E copy ${res}/${file} ${out}
    DEPENDS ${res}/${file} VERBATIM)
  list(APPEND staged ${out})
  get_filename_component(folder "${file}" DIRECTORY)
  install(FILES "${res}/${file}" DESTINATION "${ORVANE_DATA_DIR}/${folder}")
endforeach()
add_custom_target(orvane_data DEPENDS ${staged})
add_dependencies(orvane orvane_data)

# The program, its two shared libraries and the FTP window's module, found
# through a relative RPATH so any prefix works.
file(RELATIVE_PATH lib_from_bin "/root/${CMAKE_INSTALL_BINDIR}" "/root/${ORVANE_PRIVATE_LIB_DIR}")
set_target_properties(orvane PROPERTIES INSTALL_RPATH "$ORIGIN/${lib_from_bin}")
set_target_properties(orvane-ftp orvane-dialogs orvane-ftp-window PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS orvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS orvane-ftp orvane-dialogs orvane-ftp-window LIBRARY DESTINATION ${ORVANE_PRIVATE_LIB_DIR}
        NAMELINK_SKIP)

# The desktop entry, the AppStream metainfo and the icon in the hicolor theme.
install(FILES ${res}/desktop/${ORVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${res}/desktop/${ORVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${res}/desktop/orvane.svg RENAME ${ORVANE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNG sizes are rendered from the SVG at build time.
add_executable(orvane_render_icon ${PROJECT_SOURCE_DIR}/app/render_icon.cpp)
target_link_libraries(orvane_render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(icons)
foreach(size 48 256)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${ORVANE_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:orvane_render_icon> ${res}/desktop/orvane.svg ${size} ${png}
    DEPENDS orvane_render_icon ${res}/desktop/orvane.svg VERBATIM)
  list(APPEND icons ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(orvane_icons ALL DEPENDS ${icons})

# The .deb: its dependencies come from dpkg-shlibdeps (which also brings in
# the browser engine's helper process through the engine library's own
# dependency information).
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "Orvane Editor developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Web-page editor with design and source views and FTP publishing")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvane Editor edits one HTML or ASP page at a time in a WYSIWYG design view, as \
source text and in a preview, with wizards for tables, colours, image maps, events and \
rollovers, script and image libraries, and an FTP/FTPS/SFTP window for publishing.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvane Editor developers <orvane@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    ${CMAKE_BINARY_DIR}/ftp ${CMAKE_BINARY_DIR}/platform/dialogs)
set(CPACK_STRIP_FILES ON)
include(CPack)
