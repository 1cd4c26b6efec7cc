# The Debian package, by `cpack` in the build folder: build/deb/rodelume_VERSION_amd64.deb. CPack's generator
# packs what the install rules already list and computes the libraries' packages with dpkg-shlibdeps, which is all
# this one-program package needs; debhelper would add a source package and a debian/ tree to keep beside CMake.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rodelume)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/deb)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Rodelume developers <dev@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.org/rodelume/)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "seno, cosseno e tangente no círculo trigonométrico
Rodelume 2.0 ensina o círculo trigonométrico: uma barra de deslocamento
escolhe um ângulo em graus inteiros, e o programa desenha o raio e os
segmentos do seno, do cosseno e da tangente, e os gráficos das três funções.")
# The libraries come from the binary; besides them the toolkit's Portuguese texts, the Wayland platform plugin,
# which Qt loads at run time, and the fonts the captions are drawn in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, qt6-wayland, fonts-dejavu-core, fonts-liberation")
include(CPack)
