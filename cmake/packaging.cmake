# A Debian package of the three programs and their manual pages: `cpack --preset default`.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME consoletools)
set(CPACK_PACKAGE_CONTACT "consoletools maintainers <maintainers@users.noreply.c-seed-a1368828.example>")
set(CPACK_PACKAGE_DESCRIPTION
    "scaleconv converts a temperature between the Fahrenheit, Celsius, Kelvin and Reaumur scales;\n\
heatband says whether a temperature is hot, normal or cool; erayear converts a year of the\n\
Buddhist Era into a year of the Common Era. Each asks for its values at the console, writes one\n\
result and waits for a key.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # the C library is all the programs need
include(CPack)
