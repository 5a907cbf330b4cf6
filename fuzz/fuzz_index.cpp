// The catalogue index on any bytes: read, append and remove in a working folder of its own. None
// may crash, the index must stay readable after a change, and nothing may be written outside
// the folder "multiple".
#include "platform/files/FileChannel.h"
#include "platform/files/Core.h"
#include "core/Shared.h"
#include "worksheets/WorksheetFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
QStringList filesBelow(const QString& root) {
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) out << it.next().mid(root.size());
    out.sort();
    return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace worksheetfiles;
    static QTemporaryDir work;
    static const bool ready = [] {
        QDir().mkpath(work.filePath(QStringLiteral("multiple")));
        return QDir::setCurrent(work.path());
    }();
    if (!ready) std::abort();
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    {
        QFile f(QStringLiteral("multiple/track.txt"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        f.write(bytes);
    }
    // The first line of the input names the title appended, then removed again.
    const QString title = platform::decode1252(bytes.left(bytes.indexOf('\n'))).trimmed().left(60);
    try {
        IndexRead();
    } catch (const platform::RuntimeError&) {
    }
    bool changed = false;
    try {
        IndexAppend(title.isEmpty() ? QStringLiteral("Fuzz") : title);
        changed = true;
        IndexRemove(core::shared().worksheetNames[1]);
    } catch (const platform::RuntimeError&) {
    }
    platform::FileChannel::one().abandon();
    if (changed) IndexRead();  // what we wrote must read back without failing
    for (const QString& f : filesBelow(work.path()))
        if (!f.startsWith(QLatin1String("/multiple/"))) std::abort();
    return 0;
}
