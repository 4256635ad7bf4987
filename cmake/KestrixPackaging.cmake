# Where installed files go, how installed programs find libtolvex.so, and the Debian packages.
#
# Components: "kestrix" holds the programs, libtolvex.so and their data; "dev" the headers,
# pkg-config file and CMake package of libtolvex; "disc" the disc menu, installed only by
# scripts/disc.

# A relative run path keeps an installed tree working wherever it is moved.
set(CMAKE_INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
set(KESTRIX_DATA_DIR ${CMAKE_INSTALL_DATADIR}/kestrix)

set(CPACK_PACKAGE_NAME kestrix)
set(CPACK_PACKAGE_VENDOR Orvenda)
set(CPACK_PACKAGE_CONTACT "Orvenda <support@orvenda.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Download, view and export the samples of particle counters")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.orvenda.example/kestrix)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_COMPONENTS_ALL kestrix dev)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)

set(CPACK_DEBIAN_KESTRIX_PACKAGE_NAME kestrix)
set(CPACK_DEBIAN_KESTRIX_PACKAGE_SECTION science)
# Qt loads its database drivers as plugins, which the computed dependencies cannot see.
set(CPACK_DEBIAN_KESTRIX_PACKAGE_DEPENDS libqt6sql6-sqlite)
set(CPACK_DEBIAN_KESTRIX_PACKAGE_RECOMMENDS libqt6sql6-psql)
set(CPACK_DEBIAN_KESTRIX_DESCRIPTION
    "Download, view and export the samples of portable particle counters
 Kestrix downloads the samples that particle counters keep in their memory over a
 serial port and shows them in a table with units, status colours and statistics;
 tables are saved as .xlsx, .html, .csv or printed. The package also holds
 kestrix-cli and kestrix-sim, tolvexctl and libtolvex, the Modbus master library.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libtolvex-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_DESCRIPTION
    "Modbus master library tolvex: headers, pkg-config file and CMake package
 The C interface of libtolvex.so, a Modbus master for RTU, ASCII and Modbus/TCP
 with 100 request slots served by a worker thread.")
set(CPACK_COMPONENT_DEV_DEPENDS kestrix)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

include(CPack)
