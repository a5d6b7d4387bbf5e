#include "ui/skin/skin_failure.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

namespace tarnel {

void ReportSkinFailure(const QString& error) {
    std::fprintf(stderr, "tarnel: %s\n", qPrintable(error));
    std::fflush(stderr);
    const QString platform = QGuiApplication::platformName();
    if (qApp && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        QMessageBox::critical(nullptr, QStringLiteral("Tarnel"), error);
}

}  // namespace tarnel
