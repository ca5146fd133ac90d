// Replays fuzz inputs through a target's entry point without fuzzing: the
// first argument names the target, each further one is a file or a folder of
// files. ./test runs it over the committed corpus of every target under the
// sanitizers.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>
#include <cstring>

// The targets built into the program (replay_targets.cpp, made by the build),
// ended by a null name.
struct Replay_Target {
    const char* name;
    int (*run)(const uint8_t*, size_t);
};
extern const Replay_Target Replay_Targets[];

namespace {

int (*g_target)(const uint8_t*, size_t) = nullptr;

bool Replay(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = f.readAll();
    g_target(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    for (const Replay_Target* t = Replay_Targets; t->name && argc > 1; ++t)
        if (std::strcmp(t->name, argv[1]) == 0)
            g_target = t->run;
    if (!g_target) {
        std::fprintf(stderr, "usage: %s TARGET FILE-OR-FOLDER...; the targets are:\n", argv[0]);
        for (const Replay_Target* t = Replay_Targets; t->name; ++t)
            std::fprintf(stderr, "  %s\n", t->name);
        return 2;
    }
    int files = 0;
    bool ok = true;
    for (int i = 2; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(arg).isDir()) {
            const QStringList names = QDir(arg).entryList(QDir::Files, QDir::Name);
            for (const QString& n : names) {
                ok = Replay(QDir(arg).filePath(n)) && ok;
                ++files;
            }
        } else {
            ok = Replay(arg) && ok;
            ++files;
        }
    }
    std::printf("replayed %d inputs\n", files);
    if (files == 0) {
        std::fprintf(stderr, "no inputs to replay\n");
        return 1;
    }
    return ok ? 0 : 1;
}
