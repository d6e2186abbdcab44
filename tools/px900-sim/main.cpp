// px900-sim: a virtual PX900 on a pseudo-terminal. It prints the path of the
// terminal it serves as its first line, answers the device's commands from a
// device memory and can pace its answers at the line rate and inject faults.

#include "DeviceMemory.h"

#include "core/Kinds.h"
#include "core/TextCodec.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_bStop = 0;

void OnSignal(int)
{
    g_bStop = 1;
}

void Log(const QString& strText)
{
    std::fprintf(stderr, "px900-sim: %s\n", strText.toLocal8Bit().constData());
    std::fflush(stderr);
}

enum class Fault { None, Timeout, Garbage, NoAck, Close };

struct Options
{
    DeviceMemory memory;
    QByteArray version = "V5.12";
    QString strType = QStringLiteral("PX900");
    QString strSerial = QStringLiteral("123456");
    int nPaceBaud = 0;
    int nFaultAt = 0;
    Fault fault = Fault::None;
    int nUnknownKindAt = 0;
    // Answered to ARC instead of the number of records; records beyond the
    // memory come back empty.
    QByteArray claimedCount;
    QString strLink;
};

bool SetRaw(int fd)
{
    termios tio {};
    if (::tcgetattr(fd, &tio) != 0)
        return false;
    ::cfmakeraw(&tio);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

timespec Now()
{
    timespec ts {};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts;
}

long long Nanos(const timespec& ts)
{
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

class CSimulator
{
public:
    CSimulator(Options options, int nMaster, int nSlave)
        : m_options(std::move(options)), m_nMaster(nMaster), m_nSlave(nSlave)
    {
    }

    // Serves until a signal stops it or a fault closes the port. The exit
    // code of the program.
    int Run(const sigset_t& waitMask)
    {
        QByteArray pending;
        while (!g_bStop) {
            pollfd pfd {m_nMaster, POLLIN, 0};
            const int r = ::ppoll(&pfd, 1, nullptr, &waitMask);
            if (r < 0) {
                if (errno == EINTR)
                    continue;
                Log(QStringLiteral("poll failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
                return 1;
            }
            if (pfd.revents & POLLIN) {
                char buf[512];
                const ssize_t n = ::read(m_nMaster, buf, sizeof buf);
                if (n > 0) {
                    pending.append(buf, n);
                    if (!HandleInput(pending))
                        return 0;
                    continue;
                }
                if (n < 0 && errno != EIO && errno != EAGAIN && errno != EINTR) {
                    Log(QStringLiteral("read failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
                    return 1;
                }
            }
            if (pfd.revents & (POLLHUP | POLLERR | POLLIN)) {
                // No client on the other side (EIO, hang-up): poll would
                // report that at once forever, so look again a little later.
                Pause(50);
            }
        }
        return 0;
    }

private:
    // Splits the input into commands at carriage returns. False when a
    // fault has closed the port.
    bool HandleInput(QByteArray& pending)
    {
        qsizetype nEnd;
        while ((nEnd = pending.indexOf('\r')) >= 0) {
            QByteArray command = pending.left(nEnd);
            pending.remove(0, nEnd + 1);
            command.replace('\n', QByteArray());
            if (command.isEmpty())
                continue;
            Log(QStringLiteral("received %1").arg(DecodeWindows1252(command)));
            if (!Answer(command))
                return false;
        }
        // A line that never ends is no command: keep the memory bounded.
        if (pending.size() > 4096)
            pending.clear();
        return true;
    }

    bool Answer(const QByteArray& command)
    {
        if (command == "ARC")
            return Write((m_options.claimedCount.isEmpty() ? QByteArray::number(m_options.memory.size())
                                                           : m_options.claimedCount)
                         + "\rARCACK\r");
        if (command == "AAV")
            return Write((m_options.version.isEmpty() ? QByteArray() : m_options.version + '\r') + "AAVACK\r");
        if (command == "AAW") {
            const QString strAnswer = QStringLiteral("Controller;%1 %2\rMessmodul;Seriennummer;%3\rAAWACK\r")
                                          .arg(m_options.strType, QString::fromLatin1(m_options.version), m_options.strSerial);
            return Write(EncodeWindows1252(strAnswer));
        }
        if (command == "AER") {
            m_options.memory.clear();
            return Write("AERACK\r");
        }
        if (command.startsWith("AGR")) {
            bool bOk = false;
            const int nRecord = command.mid(3).toInt(&bOk);
            if (bOk)
                return AnswerRecord(nRecord);
        }
        Log(QStringLiteral("unknown command, no answer"));
        return true;
    }

    bool AnswerRecord(int nRecord)
    {
        QByteArray data;
        if (nRecord >= 1 && nRecord <= m_options.memory.size()) {
            DeviceRecord record = m_options.memory.at(nRecord - 1);
            if (nRecord == m_options.nUnknownKindAt) {
                record.removeIf([](const QString& line) { return line.startsWith(QLatin1String("RID;")); });
                // The number after the last kind the program knows.
                record.prepend(QStringLiteral("RID;%1").arg(ToInt(RecordKind::PQSRegister) + 1));
            }
            for (const QString& line : record)
                data += EncodeWindows1252(line) + '\r';
        }
        const QByteArray ack = "AGRACK\r";
        if (nRecord != m_options.nFaultAt || m_options.fault == Fault::None)
            return Write(data + ack);

        switch (m_options.fault) {
        case Fault::Timeout:
            Log(QStringLiteral("fault: no answer"));
            return true;
        case Fault::Garbage: {
            Log(QStringLiteral("fault: garbage"));
            QByteArray garbage;
            unsigned nSeed = 0x2545F491u;
            while (garbage.size() < 64) {
                nSeed = nSeed * 1103515245u + 12345u;
                const char c = static_cast<char>((nSeed >> 16) & 0xFF);
                if (c != '\r')
                    garbage += c;
            }
            return Write(garbage);
        }
        case Fault::NoAck:
            Log(QStringLiteral("fault: answer without acknowledgement"));
            return Write(data);
        case Fault::Close:
            Log(QStringLiteral("fault: closing the port in the middle of the answer"));
            Write(data.left(data.size() / 2));
            Pause(100);
            return false;
        case Fault::None:
            break;
        }
        return true;
    }

    // Sleeps, but wakes for a stop signal.
    static void Pause(int nMs)
    {
        sigset_t none;
        sigemptyset(&none);
        const timespec ts {nMs / 1000, (nMs % 1000) * 1000000L};
        ::ppoll(nullptr, 0, &ts, &none);
    }

    // Writes the answer, no faster than the line when pacing: each byte
    // takes 11 bit times (start, 8 data, 2 stop bits). A stop signal ends
    // the answer early; the main loop then stops.
    bool Write(const QByteArray& data)
    {
        const long long nStart = Nanos(Now());
        const long long nByteNs = m_options.nPaceBaud > 0 ? 11LL * 1000000000LL / m_options.nPaceBaud : 0;
        // Pace in pieces of about 10 ms of line time.
        const qsizetype nChunk = nByteNs > 0 ? std::max<qsizetype>(1, 10000000LL / nByteNs) : data.size();
        qsizetype nDone = 0;
        while (nDone < data.size() && !g_bStop) {
            if (nByteNs > 0) {
                const long long nDue = nStart + nDone * nByteNs;
                const long long nWait = nDue - Nanos(Now());
                if (nWait > 0)
                    Pause(static_cast<int>((nWait + 999999) / 1000000));
            }
            const qsizetype nPiece = std::min(nChunk, data.size() - nDone);
            const ssize_t n = ::write(m_nMaster, data.constData() + nDone, static_cast<size_t>(nPiece));
            if (n > 0) {
                nDone += n;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                Log(QStringLiteral("write failed: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
                return true;
            }
            // Nobody reads: wait a while, then drop the rest of the answer
            // and what the terminal holds, so the next client starts clean.
            pollfd pfd {m_nMaster, POLLOUT, 0};
            sigset_t none;
            sigemptyset(&none);
            const timespec ts {2, 0};
            if (::ppoll(&pfd, 1, &ts, &none) <= 0 || !(pfd.revents & POLLOUT)) {
                Log(QStringLiteral("nobody reads, answer dropped"));
                ::tcflush(m_nSlave, TCIFLUSH);
                return true;
            }
        }
        return true;
    }

    Options m_options;
    int m_nMaster;
    int m_nSlave;
};

bool ParseFault(const QString& str, Fault& fault)
{
    if (str == QLatin1String("timeout"))
        fault = Fault::Timeout;
    else if (str == QLatin1String("garbage"))
        fault = Fault::Garbage;
    else if (str == QLatin1String("noack"))
        fault = Fault::NoAck;
    else if (str == QLatin1String("close"))
        fault = Fault::Close;
    else
        return false;
    return true;
}

int Fail(const QString& strText)
{
    Log(strText);
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("px900-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A virtual PX900 on a pseudo-terminal. Prints the terminal's path as its first line "
        "and answers ARC, AGRn, AER, AAV and AAW until SIGTERM or SIGINT."));
    parser.addHelpOption();
    const QCommandLineOption memoryOption(QStringLiteral("memory"),
        QStringLiteral("Device memory: records separated by empty lines, one key;value line each (UTF-8)."),
        QStringLiteral("file"));
    const QCommandLineOption demoOption(QStringLiteral("demo"), QStringLiteral("Built-in demo memory with results of every kind."));
    const QCommandLineOption dumpOption(QStringLiteral("dump"), QStringLiteral("Print the memory in the file format and exit."));
    const QCommandLineOption linkOption(QStringLiteral("link"), QStringLiteral("Make a symbolic link to the terminal."), QStringLiteral("path"));
    const QCommandLineOption paceOption(QStringLiteral("pace"), QStringLiteral("Send no faster than a line of this rate (11 bits per byte)."), QStringLiteral("baud"));
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Firmware version answered to AAV (empty: no version line)."), QStringLiteral("text"));
    const QCommandLineOption identityOption(QStringLiteral("identity"), QStringLiteral("Device type and serial number answered to AAW."), QStringLiteral("type,serial"));
    const QCommandLineOption countOption(QStringLiteral("count"), QStringLiteral("Repeat the memory up to this many records, each repetition a day later."), QStringLiteral("n"));
    const QCommandLineOption faultAtOption(QStringLiteral("fault-at"), QStringLiteral("Record number (from 1) that fails."), QStringLiteral("n"));
    const QCommandLineOption faultOption(QStringLiteral("fault"), QStringLiteral("timeout, garbage, noack or close."), QStringLiteral("kind"));
    const QCommandLineOption unknownKindOption(QStringLiteral("unknown-kind-at"), QStringLiteral("Record number (from 1) sent with the unknown kind 13."), QStringLiteral("n"));
    const QCommandLineOption idPrefixOption(QStringLiteral("id-prefix"),
        QStringLiteral("Put this text before the ID of every record (a second device)."), QStringLiteral("text"));
    const QCommandLineOption claimOption(QStringLiteral("claim-count"),
        QStringLiteral("Answer ARC with this text; records beyond the memory are empty."), QStringLiteral("text"));
    parser.addOptions({memoryOption, demoOption, dumpOption, linkOption, paceOption, versionOption, identityOption,
                       countOption, faultAtOption, faultOption, unknownKindOption, claimOption, idPrefixOption});
    parser.process(app);

    Options options;
    if (parser.isSet(memoryOption)) {
        QString strError;
        if (!LoadDeviceMemory(parser.value(memoryOption), options.memory, strError))
            return Fail(QStringLiteral("cannot read %1: %2").arg(parser.value(memoryOption), strError));
    } else if (parser.isSet(demoOption)) {
        options.memory = DemoMemory();
    }
    auto number = [&parser](const QCommandLineOption& option, int& nValue) {
        if (!parser.isSet(option))
            return true;
        bool bOk = false;
        nValue = parser.value(option).toInt(&bOk);
        return bOk && nValue >= 0;
    };
    int nCount = -1;
    if (!number(countOption, nCount) || !number(paceOption, options.nPaceBaud) || !number(faultAtOption, options.nFaultAt)
        || !number(unknownKindOption, options.nUnknownKindAt))
        return Fail(QStringLiteral("a number option has no number"));
    if (nCount >= 0)
        options.memory = CycleMemory(options.memory.isEmpty() ? DemoMemory() : options.memory, nCount);
    if (parser.isSet(versionOption))
        options.version = EncodeWindows1252(parser.value(versionOption));
    if (parser.isSet(identityOption)) {
        const QStringList parts = parser.value(identityOption).split(QLatin1Char(','));
        if (parts.size() != 2)
            return Fail(QStringLiteral("--identity wants TYPE,SERIAL"));
        options.strType = parts.at(0);
        options.strSerial = parts.at(1);
    }
    options.claimedCount = parser.value(claimOption).toLatin1();
    for (DeviceRecord& record : options.memory) {
        for (QString& line : record) {
            if (line.startsWith(QLatin1String("ID;")))
                line.insert(3, parser.value(idPrefixOption));
        }
    }
    if (parser.isSet(faultOption) && !ParseFault(parser.value(faultOption), options.fault))
        return Fail(QStringLiteral("unknown fault %1").arg(parser.value(faultOption)));
    if (parser.isSet(dumpOption)) {
        std::fputs(FormatDeviceMemory(options.memory).toUtf8().constData(), stdout);
        return 0;
    }
    options.strLink = parser.value(linkOption);

    // Stop signals are held back except while waiting, so a stop is never
    // lost between the check and the wait.
    sigset_t blocked, waitMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGINT);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    const int nMaster = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (nMaster < 0 || ::grantpt(nMaster) != 0 || ::unlockpt(nMaster) != 0)
        return Fail(QStringLiteral("no pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    const char* pszSlave = ::ptsname(nMaster);
    if (!pszSlave)
        return Fail(QStringLiteral("no pseudo-terminal name"));
    const QByteArray slavePath(pszSlave);
    // Holding the terminal open keeps it alive between clients: without it
    // the master reports a hang-up whenever no client is connected.
    const int nSlave = ::open(slavePath.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (nSlave < 0 || !SetRaw(nMaster) || !SetRaw(nSlave))
        return Fail(QStringLiteral("cannot set up %1: %2").arg(QString::fromLocal8Bit(slavePath), QString::fromLocal8Bit(std::strerror(errno))));
    ::fcntl(nMaster, F_SETFL, ::fcntl(nMaster, F_GETFL) | O_NONBLOCK);

    const QByteArray link = QFile::encodeName(options.strLink);
    if (!link.isEmpty()) {
        // Replace an old link, never a file.
        struct stat st {};
        if (::lstat(link.constData(), &st) == 0 && S_ISLNK(st.st_mode))
            ::unlink(link.constData());
        if (::symlink(slavePath.constData(), link.constData()) != 0)
            return Fail(QStringLiteral("cannot make link %1: %2").arg(options.strLink, QString::fromLocal8Bit(std::strerror(errno))));
    }

    std::printf("%s\n", slavePath.constData());
    std::fflush(stdout);
    Log(QStringLiteral("serving %1 with %2 results").arg(QString::fromLocal8Bit(slavePath)).arg(options.memory.size()));

    CSimulator simulator(std::move(options), nMaster, nSlave);
    const int nExit = simulator.Run(waitMask);

    ::close(nSlave);
    ::close(nMaster);
    if (!link.isEmpty())
        ::unlink(link.constData());
    Log(QStringLiteral("stopped"));
    return nExit;
}
