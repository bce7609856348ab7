# What a system-wide install adds to the program and its content (the desktop
# entry, an icon, the manual pages, the package's documents) and the Debian
# package that cpack -G DEB makes of it all: scripts/build-deb.sh builds it.
set(kyl_packaging_source ${PROJECT_SOURCE_DIR}/packaging)
set(kyl_packaging_out ${PROJECT_BINARY_DIR}/packaging)
# Named for the package, not the project (GNUInstallDirs' DOCDIR would be
# share/doc/Kylvander).
set(kyl_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/kylvander)

# Debian wants the manual pages and the changelog compressed; -n keeps the
# time out of the file, so two builds give the same bytes.
set(kyl_packaging_files)
foreach(name kylvander.1 kyl_songc.1 changelog)
  add_custom_command(
    OUTPUT ${kyl_packaging_out}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${kyl_packaging_out}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${kyl_packaging_source}/${name}
            ${kyl_packaging_out}/${name}.gz
    DEPENDS ${kyl_packaging_source}/${name}
    VERBATIM)
  list(APPEND kyl_packaging_files ${kyl_packaging_out}/${name}.gz)
endforeach()
install(FILES ${kyl_packaging_out}/kylvander.1.gz ${kyl_packaging_out}/kyl_songc.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${kyl_packaging_out}/changelog.gz ${kyl_packaging_source}/copyright
              ${PROJECT_SOURCE_DIR}/docs/song-format.md
        DESTINATION ${kyl_doc_dir})
# The show's song source, for kyl_songc's manual page.
install(FILES ${PROJECT_SOURCE_DIR}/data/song/brumtakt.song
        DESTINATION ${kyl_doc_dir}/examples)
install(FILES ${kyl_packaging_source}/kylvander.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon is cut from two of the show's own pictures (packaging/make-icon.sh),
# so it needs the content and ImageMagick.
set(kyl_icon_sizes 48 128 256)
find_program(KYL_MAGICK_CONVERT convert)
if(TARGET kyl_pictures AND KYL_MAGICK_CONVERT)
  set(kyl_icons)
  foreach(size ${kyl_icon_sizes})
    list(APPEND kyl_icons ${kyl_packaging_out}/icons/${size}x${size}/kylvander.png)
  endforeach()
  add_custom_command(
    OUTPUT ${kyl_icons}
    COMMAND ${kyl_packaging_source}/make-icon.sh ${KYL_DATA_ROOT} ${kyl_packaging_out}/icons
            ${kyl_icon_sizes}
    DEPENDS ${kyl_packaging_source}/make-icon.sh kyl_pictures
            ${KYL_DATA_ROOT}/part01_bg.tga ${KYL_DATA_ROOT}/part01_overlay.tga
    COMMENT "Making the icon from the show's pictures"
    VERBATIM)
  list(APPEND kyl_packaging_files ${kyl_icons})
  foreach(size ${kyl_icon_sizes})
    install(FILES ${kyl_packaging_out}/icons/${size}x${size}/kylvander.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
else()
  message(STATUS "kylvander icon: not made (needs the content and ImageMagick's convert)")
endif()
add_custom_target(kyl_packaging_files ALL DEPENDS ${kyl_packaging_files})

set(CPACK_PACKAGE_NAME kylvander)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kylvander developers <dev@kylvander.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual show with a built-in synthesizer")
set(CPACK_PACKAGE_DESCRIPTION
    "Eight OpenGL scenes play in a fixed order in one 640x480 window, in step
with music that a built-in modular synthesizer renders live from a compact
song file. Nothing in it is a recording: the song is synthesizer set-up and
patterns, and the pictures were drawn by a generator at build time.
.
The program can also render the song to a WAV file, capture the show to
video or take a screenshot without a display. kyl_songc, the song compiler,
builds a song file from its readable source.
.
The synthesizer also comes as a plugin for music programs, Kylvander Synth,
in the LV2, VST3 and CLAP formats: it plays a song's synthesizer set-up
from MIDI, as the show would.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL loads the GL platform library at run time, where dpkg-shlibdeps cannot
# see it: libGL (GLX) for the window on X, libEGL for the offline modes with
# no display.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libegl1")
# --capture pipes its frames to ffmpeg.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
