# The Debian package (`cpack -G DEB`, run by scripts/package.sh): what
# cmake --install puts under the prefix, stripped, with the dependencies
# dpkg-shlibdeps finds in the binaries and the version of the programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ledtaxbridge)
set(CPACK_PACKAGE_VERSION ${LTB_VERSION})
set(CPACK_PACKAGE_CONTACT "The LedTaxBridge developers <ledtaxbridge@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "consumption-tax figures from a ledger to the filing product")
set(CPACK_PACKAGE_DESCRIPTION
    "LedTaxBridgeA, LedTaxBridgeB and LedTaxBridgeC (one per ledger edition)
read the dataset selected in a ledger, ask for the aggregation conditions in
one dialog and write one Shift_JIS XML report that the consumption-tax
filing product imports: figures per tax rate and business type by journal
aggregation, or the values saved in the tax-return screen.

ledora-ledger creates and fills ledger homes.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window texts are Japanese; the toolkit's own words follow the locale.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-vlgothic | fonts-noto-cjk, wx3.2-i18n, libc-l10n")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
