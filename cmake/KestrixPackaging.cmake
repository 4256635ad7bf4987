# Where installed files go and how installed programs find libtolvex.so. The Debian packages are
# made from debian/ by scripts/package.
#
# Components: "kestrix" holds the programs, libtolvex.so and their data; "dev" the headers,
# pkg-config file and CMake package of libtolvex; "disc" the disc menu, installed only by
# scripts/disc.

# A relative run path keeps an installed tree working wherever it is moved. Distribution packages
# turn it off: there libtolvex lies in the system's library path and file paths are fixed.
option(KESTRIX_RELOCATABLE "Installed programs find their library and files relative to themselves" ON)
if(KESTRIX_RELOCATABLE)
    set(CMAKE_INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
endif()
set(KESTRIX_DATA_DIR ${CMAKE_INSTALL_DATADIR}/kestrix)
