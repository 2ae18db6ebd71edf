# Installs the build tree into PREFIJO and checks the desktop files are there.
file(REMOVE_RECURSE ${PREFIJO})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIJO}
    RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install ha fallado (${rc})")
endif()
foreach(f
        share/applications/${ID}.desktop
        share/metainfo/${ID}.metainfo.xml
        share/icons/hicolor/scalable/apps/kalnor.svg
        share/man/es/man1/kalnor.1.gz
        share/man/es/man1/kalnor-cli.1.gz
        share/man/man1/kalnor.1.gz
        bin/kalnor
        bin/kalnor-cli
        libexec/kalnor/kalnor-cli-graficos
        share/mime/packages/${ID}.xml)
    if(NOT EXISTS ${PREFIJO}/${f})
        message(FATAL_ERROR "falta ${f} en la instalación")
    endif()
endforeach()
# The installed kalnor-cli finds its drawing companion in libexec/.
execute_process(COMMAND ${PREFIJO}/bin/kalnor-cli grafico ${PREFIJO}/share/kalnor/dat/Estaturas.mdb
        --tipo barras --png ${PREFIJO}/grafico.png
    RESULT_VARIABLE rc ERROR_VARIABLE salida)
if(NOT rc EQUAL 0 OR NOT EXISTS ${PREFIJO}/grafico.png)
    message(FATAL_ERROR "kalnor-cli grafico instalado ha fallado (${rc}): ${salida}")
endif()
file(READ ${PREFIJO}/share/applications/${ID}.desktop desktop)
foreach(linea "Exec=kalnor %f" "Categories=Education;Math;Science;" "Name[es]=" "Comment[es]=")
    string(FIND "${desktop}" "${linea}" pos)
    if(pos EQUAL -1)
        message(FATAL_ERROR "el archivo .desktop no tiene «${linea}»")
    endif()
endforeach()
file(REMOVE_RECURSE ${PREFIJO})
