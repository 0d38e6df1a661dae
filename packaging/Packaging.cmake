# Installation and the Debian package: the player and the course tools, the sample course,
# the desktop entry with its icon and metadata, and the manual pages.
#
# Included at the end of the top-level CMakeLists.txt, once every program target exists: a
# tool is installed, with its manual page, only when its target is built.
include(GNUInstallDirs)

# The version the start dialog shows.
set(LORVENNA_VERSION 3.0.0)
set(LORVENNA_MAINTAINER "Lorvenna maintainers <maintainers@lorvenna.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

set(LORVENNA_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(LORVENNA_MAN_DIR ${CMAKE_BINARY_DIR}/man)

find_program(GZIP_PROGRAM gzip REQUIRED)
set(LORVENNA_MAN_PAGES)
foreach(program lorvenna lorvenna-check lorvenna-shot lorvenna-grades)
  if(NOT TARGET ${program})
    continue()
  endif()
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Manual pages are shipped compressed; -n keeps the file the same from build to build.
  set(page ${LORVENNA_MAN_DIR}/${program}.1.gz)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LORVENNA_MAN_DIR}
    COMMAND ${GZIP_PROGRAM} -9nc ${LORVENNA_PACKAGING_DIR}/man/${program}.1 > ${page}
    DEPENDS ${LORVENNA_PACKAGING_DIR}/man/${program}.1
    VERBATIM)
  list(APPEND LORVENNA_MAN_PAGES ${page})
endforeach()
# The lesson language, for course authors: made from docs/lesson-language.md.
set(lesson_page ${LORVENNA_MAN_DIR}/lorvenna-lesson.5.gz)
add_custom_command(OUTPUT ${lesson_page}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${LORVENNA_MAN_DIR}
  COMMAND ${GZIP_PROGRAM} -9nc ${LORVENNA_PACKAGING_DIR}/man/lorvenna-lesson.5 > ${lesson_page}
  DEPENDS ${LORVENNA_PACKAGING_DIR}/man/lorvenna-lesson.5
  VERBATIM)
add_custom_target(lorvenna_man_pages ALL DEPENDS ${LORVENNA_MAN_PAGES} ${lesson_page})
install(FILES ${LORVENNA_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${lesson_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/courseware/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lorvenna/courseware)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${LORVENNA_PACKAGING_DIR}/lorvenna.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LORVENNA_PACKAGING_DIR}/org.lorvenna.lorvenna.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lorvenna)
set(CPACK_PACKAGE_VERSION ${LORVENNA_VERSION})
set(CPACK_PACKAGE_CONTACT ${LORVENNA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive lesson player for students")
set(CPACK_PACKAGE_DESCRIPTION
  "Lorvenna plays courses of plain-text lessons: pages of texts, pictures,
buttons, number fields and moving figures that ask questions, judge every
answer at once and show the score. Students with a key disk keep checksummed
grade files and bookmarks. A sample course and tools for course authors and
teachers are included.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
# The Qt libraries the programs link come from dpkg-shlibdeps; the toolkit loads its
# window-system plugins at run time, where dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)

if(LORVENNA_TESTS)
  add_test(NAME packaging
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/packaging/package-test.sh
            ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
  set_tests_properties(packaging PROPERTIES TIMEOUT 300)
endif()
