#include "gui/common/LateModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace tollix {

QFunctionPointer LateModuleFunction(const char* module, const char* symbol, QString* error)
{
    const QString file = QStringLiteral("lib%1.so").arg(QString::fromLatin1(module));
    const QStringList folders{QCoreApplication::applicationDirPath(), QStringLiteral(TOLLIX_MODULE_DIR),
        QStringLiteral(TOLLIX_BUILD_MODULE_DIR)};
    QString why = QCoreApplication::translate("LateModule", "找不到 %1").arg(file);
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(file);
        if (!QFileInfo::exists(path))
            continue;
        // Never unloaded: a sound may still be playing from it at exit.
        QLibrary library(path);
        library.setLoadHints(QLibrary::PreventUnloadHint);
        if (QFunctionPointer f = library.resolve(symbol))
            return f;
        why = library.errorString();
    }
    if (error)
        *error = why;
    return nullptr;
}

}  // namespace tollix
