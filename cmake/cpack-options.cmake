# Read by cpack before each package: the staging install it runs sees the
# generator in FERRAVANE_PACKAGING, so it adds the Debian files to the .deb
# alone and keeps no uninstall record of the staging folder.
set(ENV{FERRAVANE_PACKAGING} "${CPACK_GENERATOR}")
