# A Debian package of both programs and the batch tool (./dev package, or
# cpack -G DEB in the build folder): the programs, their desktop entries
# and icons, and quorv-batch's manual page. The library dependencies are
# found by dpkg-shlibdeps from the programs themselves.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quorv developers <quorv@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Two-case covariate test for clinical neuropsychology (Quorvik, Quorvane, quorv-batch)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Compares the test scores of two single patients against a control sample,\nallowing for one to five covariates: a classical t test, the effect size\nZ-PCCC with its confidence interval, and the percentage of controls with a\nlarger difference. Quorvik reads raw control data from a text file,\nQuorvane takes summary statistics, quorv-batch runs many pairs from the\ncommand line.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
