#include "RadicaleServer.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString bookFolder(const QString &root)
{
    return root + u"/store/collection-root/anna/kontakte"_s;
}

} // namespace

int FreeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

RadicaleServer::RadicaleServer()
{
    const QString root = m_dir.path();
    writeFile(root + u"/users"_s, "anna:geheim\n");
    writeFile(bookFolder(root) + u"/.Radicale.props"_s,
              R"({"tag": "VADDRESSBOOK", "D:displayname": "Kontakte"})");
}

RadicaleServer::~RadicaleServer()
{
    Stop();
}

bool RadicaleServer::Start()
{
    const QString root = m_dir.path();
    m_port = FreeLoopbackPort();
    writeFile(root + u"/config"_s, u"[server]\nhosts = 127.0.0.1:%1\n"
                                   u"[auth]\ntype = htpasswd\nhtpasswd_filename = %2/users\n"
                                   u"htpasswd_encryption = plain\ndelay = 0\n"
                                   u"[storage]\nfilesystem_folder = %2/store\n"
                                   u"[web]\ntype = none\n"_s.arg(m_port)
                                       .arg(root)
                                       .toUtf8());
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice()); // its log of every request
    m_process.start(SystemPython, {u"-m"_s, u"radicale"_s, u"--config"_s, root + u"/config"_s});
    if (!m_process.waitForStarted())
        return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
        if (socket.waitForConnected(100))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            return false;
        QThread::msleep(50);
    }
    return false;
}

void RadicaleServer::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

QString RadicaleServer::CardFile(const QString &cardUrl) const
{
    return bookFolder(m_dir.path()) + u'/' + QUrl(cardUrl).fileName();
}

int RadicaleServer::CardCount() const
{
    return int(QDir(bookFolder(m_dir.path())).entryList({u"*.vcf"_s}, QDir::Files).size());
}
