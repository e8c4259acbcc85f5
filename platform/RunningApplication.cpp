#include "platform/RunningApplication.h"

#include "platform/NativePath.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QSettings>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tolvex {

namespace fs = std::filesystem;

namespace {

const fs::path kProcFolder = "/proc";
constexpr std::string_view kDeletedSuffix = " (deleted)";

// The browsers as their Debian, Ubuntu and Fedora packages, their makers' own packages, Snap and
// Flatpak install them.
const QHash<QString, ApplicationPrograms> kPrograms{
    {QStringLiteral("com.google.Chrome"),
     {{QStringLiteral("/opt/google/chrome/chrome")}, {}, QStringLiteral("com.google.Chrome")}},
    {QStringLiteral("org.mozilla.firefox"),
     {{QStringLiteral("/usr/lib/firefox/firefox"),
       QStringLiteral("/usr/lib/firefox-esr/firefox-esr"),
       QStringLiteral("/usr/lib64/firefox/firefox"), QStringLiteral("/opt/firefox/firefox")},
      QStringLiteral("firefox"),
      QStringLiteral("org.mozilla.firefox")}},
    {QStringLiteral("com.operasoftware.Opera"),
     {{QStringLiteral("/usr/lib/x86_64-linux-gnu/opera/opera"),
       QStringLiteral("/usr/lib64/opera/opera")},
      QStringLiteral("opera"),
      QStringLiteral("com.opera.Opera")}},
    {QStringLiteral("com.vivaldi.Vivaldi"),
     {{QStringLiteral("/opt/vivaldi/vivaldi-bin")},
      QStringLiteral("vivaldi"),
      QStringLiteral("com.vivaldi.Vivaldi")}},
    {QStringLiteral("com.brave.Browser"),
     {{QStringLiteral("/opt/brave.com/brave/brave")},
      QStringLiteral("brave"),
      QStringLiteral("com.brave.Browser")}},
};
const std::string kSnaps = "/snap/";
// What Flatpak puts at the root of every sandbox: the application's identity.
const QString kFlatpakInfo = QStringLiteral("/root/.flatpak-info");
const QString kFlatpakName = QStringLiteral("Application/name");

struct Process {
    pid_t pid;
    pid_t parent;
};

std::optional<pid_t> processIdOf(const fs::path& folder)
{
    const std::string name = folder.filename().string();
    const auto isDigit = [](unsigned char c) { return std::isdigit(c) != 0; };
    if (name.empty() || !std::all_of(name.begin(), name.end(), isDigit))
        return std::nullopt;
    return pid_t(std::stol(name));
}

bool isOwnedByUser(const fs::path& folder)
{
    struct stat status {};
    return ::stat(folder.c_str(), &status) == 0 && status.st_uid == ::getuid();
}

fs::path executableOf(const fs::path& folder)
{
    std::error_code error;
    std::string target = fs::read_symlink(folder / "exe", error).native();
    if (target.ends_with(kDeletedSuffix))
        target.resize(target.size() - kDeletedSuffix.size());
    return target;
}

QString flatpakOf(const fs::path& folder)
{
    const QString info = fromNativePath(folder) + kFlatpakInfo;
    return QSettings(info, QSettings::IniFormat).value(kFlatpakName).toString();
}

// The program is one of the installed files, or one of their names inside the application's
// Snap or Flatpak (whose sandbox also runs programs of its own).
bool runsOneOf(const fs::path& folder, const std::vector<fs::path>& files,
               const ApplicationPrograms& programs)
{
    const fs::path program = executableOf(folder);
    if (program.empty())
        return false;
    if (std::find(files.begin(), files.end(), program) != files.end())
        return true;
    const auto named = [&](const fs::path& file) { return file.filename() == program.filename(); };
    if (std::none_of(files.begin(), files.end(), named))
        return false;
    return (!programs.snap.isEmpty() &&
            program.native().starts_with(kSnaps + programs.snap.toStdString() + '/')) ||
           (!programs.flatpak.isEmpty() && flatpakOf(folder) == programs.flatpak);
}

// The fourth field of /proc/<pid>/stat, after the command name in parentheses (which may itself
// hold spaces and parentheses).
pid_t parentOf(const fs::path& folder)
{
    QFile stat(QString::fromStdString((folder / "stat").string()));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 1).simplified().split(' ');
    return fields.size() > 1 ? pid_t(fields[1].toLong()) : 0;
}

} // namespace

QList<RunningApplication>
RunningApplication::runningApplicationsWithBundleIdentifier(const QString& id)
{
    const auto programs = kPrograms.constFind(id);
    return programs == kPrograms.cend() ? QList<RunningApplication>{}
                                        : runningApplicationsOf(*programs);
}

QList<RunningApplication>
RunningApplication::runningApplicationsOf(const ApplicationPrograms& programs)
{
    // As the kernel names a program: with every link on the way resolved.
    std::vector<fs::path> files;
    for (const QString& file : programs.files) {
        std::error_code error;
        files.push_back(fs::weakly_canonical(toNativePath(file), error));
    }
    std::vector<Process> matches;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(kProcFolder, error)) {
        const std::optional<pid_t> pid = processIdOf(entry.path());
        if (pid && isOwnedByUser(entry.path()) && runsOneOf(entry.path(), files, programs))
            matches.push_back({*pid, parentOf(entry.path())});
    }
    // A browser's helpers (renderers, zygotes, content processes) run the same program under
    // the browser itself; only the browser is the application.
    QSet<pid_t> matchedIds;
    for (const Process& process : matches)
        matchedIds.insert(process.pid);
    QList<RunningApplication> applications;
    for (const Process& process : matches) {
        if (!matchedIds.contains(process.parent))
            applications << RunningApplication(process.pid);
    }
    std::sort(applications.begin(), applications.end(),
              [](const RunningApplication& a, const RunningApplication& b) {
                  return a.processIdentifier() < b.processIdentifier();
              });
    return applications;
}

bool RunningApplication::terminate() const
{
    return ::kill(pid_, SIGTERM) == 0;
}

void RunningApplication::whenTerminated(std::chrono::milliseconds timeout,
                                        std::function<void(bool)> ended) const
{
    // A process descriptor turns readable when the process ends, and unlike the number it names
    // no other process that the system may start meanwhile. Called through syscall(): the C
    // library's declaration lacks C linkage in some releases.
    const int process = int(::syscall(SYS_pidfd_open, pid_, 0));
    // Only a process that is no more is known to have ended.
    const bool isGone = process < 0 && errno == ESRCH;
    auto* watch = new QObject;
    if (process < 0) {
        QTimer::singleShot(0, watch, [watch, isGone, ended = std::move(ended)] {
            ended(isGone);
            watch->deleteLater();
        });
        return;
    }
    auto* notifier = new QSocketNotifier(process, QSocketNotifier::Read, watch);
    const auto finish = [watch, notifier, process, ended = std::move(ended)](bool gone) {
        if (!notifier->isEnabled())
            return; // the other of the two signals came first
        notifier->setEnabled(false);
        ::close(process);
        ended(gone);
        watch->deleteLater();
    };
    QObject::connect(notifier, &QSocketNotifier::activated, watch, [finish] { finish(true); });
    QTimer::singleShot(timeout, watch, [finish] { finish(false); });
}

} // namespace tolvex
