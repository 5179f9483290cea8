# Precompiled headers: most of a unit's compile time goes to reading Qt's and
# GoogleTest's headers, so each library and test program reads them once.
option(QUENVALE_PCH "Precompile the Qt, GoogleTest and standard headers the targets share" ON)

# The shell's widget-free base and the engine see QtCore (and QtGui) only.
set(QUENVALE_PCH_CORE <QByteArray> <QHash> <QList> <QLocale> <QString> <QStringList>
    <algorithm> <functional> <memory> <optional> <variant> <vector>)
set(QUENVALE_PCH_WIDGETS ${QUENVALE_PCH_CORE} <QApplication> <QPainter> <QWidget>)
set(QUENVALE_PCH_TESTS ${QUENVALE_PCH_WIDGETS} <QtTest> <gtest/gtest.h>)

# Gives target the precompiled headers of its kind: CORE, WIDGETS or TESTS. The
# first target of a kind makes them and the others reuse them, so each kind is
# compiled once per build (the targets of a kind differ only in defines that the
# headers never read).
function(quenvale_precompile target kind)
  if(NOT QUENVALE_PCH)
    return()
  endif()
  get_property(maker GLOBAL PROPERTY QUENVALE_PCH_MAKER_${kind})
  if(maker)
    target_precompile_headers(${target} REUSE_FROM ${maker})
  else()
    target_precompile_headers(${target} PRIVATE ${QUENVALE_PCH_${kind}})
    set_property(GLOBAL PROPERTY QUENVALE_PCH_MAKER_${kind} ${target})
  endif()
endfunction()
