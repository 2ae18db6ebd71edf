# The Debian package: `scripts/paquete.sh` or the target `paquete` build
# kalnor_VERSION_amd64.deb (and its -dbgsym .ddeb) with CPack's DEB
# generator from this build tree. The version is the project's; a stage such
# as "beta" is written with "~" so that 1.05~beta sorts before 1.05.
set(KALNOR_VERSION_DEBIAN ${PROJECT_VERSION})
if(KALNOR_ETAPA)
    string(APPEND KALNOR_VERSION_DEBIAN "~${KALNOR_ETAPA}")
endif()

# What Debian asks of every package: the licence and the changelog.
set(KALNOR_DOC_PAQUETE ${CMAKE_INSTALL_DATADIR}/doc/kalnor)
configure_file(${CMAKE_SOURCE_DIR}/data/paquete/changelog.in
    ${CMAKE_BINARY_DIR}/paquete/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/paquete/changelog.gz
    COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/paquete/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/paquete/changelog)
add_custom_target(kalnor-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/paquete/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/data/paquete/copyright
    ${CMAKE_BINARY_DIR}/paquete/changelog.gz DESTINATION ${KALNOR_DOC_PAQUETE})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalnor)
set(CPACK_PACKAGE_VERSION ${KALNOR_VERSION_DEBIAN})
set(CPACK_PACKAGE_VENDOR "Kalnor")
set(CPACK_PACKAGE_CONTACT "Equipo de Kalnor <${KALNOR_CORREO}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calculadora de estadística descriptiva para clase")
# The summary above is the first line; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Kalnor es una calculadora para enseñar estadística descriptiva. Cada
problema es un archivo de distribución (una o dos variables; categórica,
discreta o en clases) con su enunciado, su tabla de frecuencias y las notas
del alumno.
.
Con teclas de calculadora da medias, mediana, moda, cuantiles, momentos,
dispersión, forma, covarianza, correlación y regresión, con el desarrollo
paso a paso; añade columnas derivadas a la tabla, escribe informes en las
notas y dibuja gráficos. Incluye kalnor-cli, la misma calculadora desde la
línea de órdenes.]=])
set(CPACK_DEBIAN_PACKAGE_VERSION ${KALNOR_VERSION_DEBIAN})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KALNOR_WEB})
# Libraries come from the binaries (dpkg-shlibdeps, which also brings
# libqt6svg6 and so Qt's SVG image plugin); what the program only loads at
# run time is named here: Qt's platform plugins, the fonts and icons it
# draws with and Qt's Spanish translations.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-dejavu-core, adwaita-icon-theme, qt6-translations-l10n")
# Debug symbols go to kalnor-dbgsym; the binaries in kalnor are stripped.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/paquete)
set(CPACK_THREADS 0)
include(CPack)

add_custom_target(paquete
    COMMAND ${CMAKE_CPACK_COMMAND} --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Paquete Debian kalnor_${KALNOR_VERSION_DEBIAN}_amd64.deb"
    USES_TERMINAL)
