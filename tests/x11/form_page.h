#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTcpServer>

// A competition entry page as forms really are, served on the loopback by the test itself: the prefecture
// and the birth date as drop-down lists, an e-mail confirmation box that refuses a paste, and the birth date
// again in a date box (年/月/日 in a Japanese browser). The page
// posts its form to the server at every change, so the test reads what a site would receive.
class FormPage : public QObject {
    Q_OBJECT
  public:
    FormPage();
    // Its address, such as http://127.0.0.1:40123/; empty when no port could be had.
    QString url() const;
    // The form as last posted: field name to value.
    QMap<QString, QString> submitted() const { return submitted_; }

  private:
    void serve(QTcpSocket* socket);

    QTcpServer server_;
    QMap<QString, QString> submitted_;
};
