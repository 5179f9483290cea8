# Precompiled headers: most of a unit's compile time goes to reading Qt's and
# GoogleTest's headers, so each library and test program reads them once.
option(QUENVALE_PCH "Precompile the Qt, GoogleTest and standard headers the targets share" ON)

# The shell's widget-free base and the engine see QtCore (and QtGui) only.
set(QUENVALE_PCH_CORE <QByteArray> <QHash> <QList> <QLocale> <QString> <QStringList>
    <algorithm> <functional> <memory> <optional> <variant> <vector>)
set(QUENVALE_PCH_WIDGETS ${QUENVALE_PCH_CORE} <QApplication> <QPainter> <QWidget>)
set(QUENVALE_PCH_TESTS ${QUENVALE_PCH_WIDGETS} <QtTest> <gtest/gtest.h>)

# Gives target the precompiled headers of its kind: CORE, WIDGETS or TESTS.
function(quenvale_precompile target kind)
  if(QUENVALE_PCH)
    target_precompile_headers(${target} PRIVATE ${QUENVALE_PCH_${kind}})
  endif()
endfunction()
