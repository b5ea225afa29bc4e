// Runs a fuzz target over files, without the fuzzer: the seed corpus and every input that once
// failed are replayed by the ordinary test run. Arguments are files or folders of files.
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {
bool replay(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    return true;
}
} // namespace

int main(int argc, char *argv[]) {
    int replayed = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            QDirIterator it(arg, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                if (path.endsWith(QLatin1String(".md"))) // a folder's notes
                    continue;
                ok = replay(path) && ok;
                ++replayed;
            }
        } else {
            ok = replay(arg) && ok;
            ++replayed;
        }
    }
    printf("%d inputs replayed\n", replayed);
    return ok && replayed > 0 ? 0 : 1;
}
