# The Debian package (cpack -G DEB; scripts/package.sh): everything cmake --install puts
# down, under /usr. The version is the project's own.
set(CPACK_PACKAGE_NAME panlift)
set(CPACK_PACKAGE_VENDOR "Panlift developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn cloud-storage share links into direct download addresses")
set(CPACK_PACKAGE_DESCRIPTION
  "Panlift reads the share page of a Xunlei Kuaichuan, Baidu Pan or 360 Pan link
and shows the direct download address of the shared file, with its name,
described type, size and hash, in one small window; a click into the address
box copies the address.

The package also holds panlift-cli, which resolves links without a display,
for scripts and downloaders, and panlift-simulator, a local stand-in for the
three services' share pages to try Panlift with.")
set(CPACK_PACKAGE_CONTACT "Panlift maintainers <maintainers@users.noreply.c-seed-17095eb2.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build keeps its debugging information; the package does not need it.
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # panlift_<version>-1_<arch>.deb
# The libraries the programs link come from dpkg-shlibdeps; what they load by name does not:
# the window's Chinese captions need a CJK face.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
