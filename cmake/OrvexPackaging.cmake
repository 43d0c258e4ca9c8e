# Installing the programs, and the Debian package of everything installed.
include(GNUInstallDirs)

foreach(program orvex orvex-cli orvex-kit)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

set(ORVEX_MAINTAINER "Orvex <orvex@example.org>" CACHE STRING
  "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${ORVEX_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORVEX_HOMEPAGE})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Libraries come from dpkg-shlibdeps; Qt's window-system plugins are loaded at run
# time, so no library names them, and libqt6gui6 only recommends them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Spanish standard dialogs, the fonts that stand in for the program's own, and lp
# for the character printer.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation, cups-client")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[financial mathematics: cash flows, interest rates, UVR loans
Orvex is a desktop program for financial mathematics with a Spanish user
interface: a cash-flow worksheet of up to 99 rows that finds the rate of
return, solves an unknown amount or evaluates NPV, B/C and IRR; interest-rate
conversion; UVR housing loans with three payment systems and their amortization
schedules; cash-flow diagrams and payment-plan charts. orvex-cli does the same
calculations on the command line; orvex-kit opens its report-printing and
record-browsing tools for other programs.

Orvex es un programa de escritorio para efectuar cálculos financieros: una hoja
de flujos de caja de hasta 99 filas que halla la tasa de interés, despeja un
valor desconocido o evalúa VPN, B/C y TIR; conversión de tasas de interés;
préstamos de vivienda en UVR con tres sistemas de pago y su plan de
amortización; diagramas de flujo de caja y gráficas del plan de pagos.]=])

include(CPack)
