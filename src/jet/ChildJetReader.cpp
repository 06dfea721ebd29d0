#include "jet/ChildJetReader.h"

#include "common/DbError.h"
#include "jet/JetErrors.h"
#include "jet/JetWire.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

namespace {

constexpr auto kProgramName = "strivo-access-reader";

void limit(int resource, rlim_t value)
{
    const rlimit r { value, value };
    ::setrlimit(resource, &r);
}

// The reader under AddressSanitizer reserves terabytes of address space for itself: there the
// sanitizer's own limit on resident memory stands in for the address-space limit.
constexpr bool kSanitized =
#if defined(__SANITIZE_ADDRESS__)
    true;
#else
    false;
#endif

} // namespace

// An error the reader reported passes as it is; a reader that ended otherwise than by finishing
// its answer crashed, whatever it wrote before.
template<typename Decode> auto ChildJetReader::checked(const Answer &answer, Decode decode) const
{
    const QString aborted = QStringLiteral("das Lesen brach ab");
    try {
        auto result = decode();
        if (!answer.finished)
            throw JetErr::damaged(m_path, aborted);
        return result;
    } catch (const jetwire::Malformed &e) {
        throw JetErr::damaged(m_path, answer.finished ? e.why : aborted);
    }
}

ChildJetReader::ChildJetReader(const QString &path, const ReaderLimits &limits,
                               const QString &program)
    : m_path(path)
    , m_limits(limits)
    , m_program(program)
{
    const Answer answer = run({ path });
    m_tables = checked(answer, [&] { return jetwire::decodeTables(answer.bytes); });
}

QStringList ChildJetReader::tableNames()
{
    return m_tables;
}

JetTable ChildJetReader::readTable(const QString &name)
{
    const Answer answer = run({ m_path, name });
    return checked(answer, [&] { return jetwire::decodeTable(answer.bytes, name); });
}

QString ChildJetReader::accessReaderProgram()
{
    QString named = qEnvironmentVariable("STRIVO_ACCESS_READER");
    if (!named.isEmpty())
        return named;
    const QString folder = QCoreApplication::applicationDirPath();
    const QString beside = folder + u'/' + QLatin1String(kProgramName);
    const QString installed
        = QDir::cleanPath(folder + QStringLiteral("/../libexec/strivo/") + kProgramName);
    return QFileInfo(beside).isExecutable() || !QFileInfo(installed).isExecutable() ? beside
                                                                                    : installed;
}

// Runs the reader to its end and returns what it wrote. An error it reports comes back in the
// answer; a hang or too much output throws here.
ChildJetReader::Answer ChildJetReader::run(const QStringList &arguments) const
{
    QProcess child;
    child.setProgram(m_program);
    child.setArguments(arguments);
    child.setStandardInputFile(QProcess::nullDevice());
    // libmdb's warnings: a damaged file can produce them without end.
    child.setStandardErrorFile(QProcess::nullDevice());
    const ReaderLimits limits = m_limits;
    if (kSanitized) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS"))
                       + QStringLiteral(":detect_leaks=0:hard_rss_limit_mb=%1")
                             .arg(limits.addressSpace >> 20));
        child.setProcessEnvironment(env);
    }
    child.setChildProcessModifier([limits] {
        if (!kSanitized)
            limit(RLIMIT_AS, rlim_t(limits.addressSpace));
        limit(RLIMIT_CPU, rlim_t(limits.cpuSeconds));
        limit(RLIMIT_CORE, 0);
    });
    child.start(QIODevice::ReadOnly);
    if (!child.waitForStarted(int(limits.quiet.count())))
        throw DbError(
            ErrNo::FileNotFound,
            QStringLiteral("Das Programm '%1', das Access-Dateien liest, fehlt oder lässt "
                           "sich nicht starten (%2). Bitte installieren Sie Strivo "
                           "erneut.")
                .arg(QDir::toNativeSeparators(m_program), child.errorString()));

    const auto stop = [&](const QString &why) {
        child.kill();
        child.waitForFinished();
        return JetErr::damaged(m_path, why);
    };
    const QString stuck = QStringLiteral("das Lesen kam %1 Sekunden lang nicht voran")
                              .arg(std::chrono::ceil<std::chrono::seconds>(limits.quiet).count());
    Answer answer;
    for (;;) {
        if (!child.waitForReadyRead(int(limits.quiet.count()))) {
            if (child.state() != QProcess::NotRunning && child.error() == QProcess::Timedout)
                throw stop(stuck);
            break;
        }
        answer.bytes += child.readAllStandardOutput();
        if (answer.bytes.size() > limits.output)
            throw stop(
                QStringLiteral("das Lesen lieferte mehr als %1 MiB").arg(limits.output >> 20));
    }
    if (child.state() != QProcess::NotRunning && !child.waitForFinished(int(limits.quiet.count())))
        throw stop(stuck);
    answer.bytes += child.readAllStandardOutput();
    answer.finished = child.exitStatus() == QProcess::NormalExit
        && (child.exitCode() == 0 || child.exitCode() == jetwire::kErrorExit);
    return answer;
}

std::unique_ptr<JetRowSource> openJetFile(const QString &path)
{
    return std::make_unique<ChildJetReader>(path);
}
