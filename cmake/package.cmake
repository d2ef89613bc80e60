# `make package`: a Debian package of what `cmake --install` installs, for /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vistello)
set(CPACK_PACKAGE_VENDOR "The Vistello developers")
set(CPACK_PACKAGE_CONTACT "${VISTELLO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "web slide shows from an ordered list of photos")
set(CPACK_PACKAGE_DESCRIPTION "\
Vistello turns an ordered list of photos and clips into a web slide show:
one page for each, linked to the one before and the one after, with an
overview of them all. The pages are plain files that work from a folder or
any web server.
.
Each slide has a title, alt text, keywords and a description, read from the
photo when it has them. There are light, dark and phone looks, web copies
in JPEG, WebP or AVIF, clips made ready for browsers, and albums made from
folders of photos.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VISTELLO_HOMEPAGE})
# The libraries it links come from the shared-library scan; Qt's platform plugins, loaded at run
# time, the scan cannot see. Clips are optional, and the program says so when ffmpeg is missing.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ffmpeg, xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_THREADS 0)
include(CPack)
