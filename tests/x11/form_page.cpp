#include "form_page.h"

#include <QTcpSocket>
#include <QUrlQuery>

namespace {

QByteArray page() {
    QByteArray years;
    for (int year = 1980; year <= 1990; ++year) {
        years += "<option>" + QByteArray::number(year) + "年</option>";
    }
    QByteArray months;
    for (int month = 1; month <= 12; ++month) {
        months += "<option>" + QByteArray::number(month) + "</option>";
    }
    QByteArray days;
    for (int day = 1; day <= 31; ++day) {
        days += "<option>" + QByteArray::number(day) + "</option>";
    }
    return "<!doctype html><html><head><meta charset=\"utf-8\"><title>応募ページ</title></head><body>"
           "<form id=\"entry\">"
           "<select name=\"pref\" autofocus><option value=\"\">選択</option><option>北海道</option>"
           "<option>東北</option><option>東京都</option><option>京都府</option><option>大阪府</option></"
           "select>"
           "<select name=\"year\"><option value=\"\">年</option>" +
           years + "</select><select name=\"month\"><option value=\"\">月</option>" + months +
           "</select><select name=\"day\"><option value=\"\">日</option>" + days +
           "</select><input name=\"mail\" onpaste=\"return false\"><input name=\"born\" type=\"date\"></form>"
           "<script>const form = document.getElementById('entry');"
           "const post = () => fetch('/form', {method: 'POST', body: new URLSearchParams(new "
           "FormData(form))});"
           "form.addEventListener('change', post); form.addEventListener('input', post);</script>"
           "</body></html>";
}

}  // namespace

FormPage::FormPage() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString FormPage::url() const {
    return server_.isListening() ? QString("http://127.0.0.1:%1/").arg(server_.serverPort()) : QString();
}

// One request per connection, answered once all of it has come.
void FormPage::serve(QTcpSocket* socket) {
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    const qsizetype headerEnd = request.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        return;
    }
    qsizetype length = 0;
    for (const QByteArray& line : request.left(headerEnd).split('\n')) {
        if (line.toLower().startsWith("content-length:")) {
            length = line.mid(15).trimmed().toLongLong();
        }
    }
    const QByteArray body = request.mid(headerEnd + 4);
    if (body.size() < length) {
        return;
    }
    QByteArray answer = "HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n";
    if (request.startsWith("POST /form")) {
        submitted_.clear();
        const QUrlQuery fields(QString::fromUtf8(body).replace('+', ' '));
        for (const auto& [name, value] : fields.queryItems(QUrl::FullyDecoded)) {
            submitted_[name] = value;
        }
    } else if (request.startsWith("GET / ")) {
        const QByteArray html = page();
        answer = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                 QByteArray::number(html.size()) + "\r\nConnection: close\r\n\r\n" + html;
    }
    socket->write(answer);
    socket->disconnectFromHost();
}
