// A stand-in for the application the toolbar pastes into: one window with two line edits. It writes what it
// holds to a state file after every change, so a test in another process can watch what arrived.
//
//   paste_target --target-title=TITLE --state-file=PATH [--own-clipboard=TEXT] [--stay-on-top]
//
// --own-clipboard puts TEXT on the clipboard at start, for displays where the test cannot own the clipboard.
// --stay-on-top keeps the window above ordinary ones, as a sticky note or a picture-in-picture video does.
// --first-text=TEXT starts the first box with TEXT, the cursor at its end, as a form's own look-up fills one.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

QString option(const QStringList& arguments, const QString& name) {
    const QString prefix = "--" + name + "=";
    for (const QString& argument : arguments) {
        if (argument.startsWith(prefix)) {
            return argument.mid(prefix.size());
        }
    }
    return {};
}

class Target : public QWidget {
  public:
    explicit Target(QString statePath) : statePath_(std::move(statePath)) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(&first_);
        layout->addWidget(&second_);
        for (QLineEdit* edit : {&first_, &second_}) {
            connect(edit, &QLineEdit::textChanged, this, &Target::writeState);
            connect(edit, &QLineEdit::returnPressed, this, [this] {
                ++enters_;
                writeState();
            });
        }
        connect(qApp, &QApplication::focusChanged, this, &Target::writeState);
        first_.setFocus();
    }

    void prefill(const QString& text) { first_.setText(text); }

    void writeState() {
        QString focus = "none";
        if (first_.hasFocus()) {
            focus = "0";
        } else if (second_.hasFocus()) {
            focus = "1";
        }
        QSaveFile file(statePath_);
        if (!file.open(QIODevice::WriteOnly)) {
            return;
        }
        const QString state = QString("window=%1\nfirst=%2\nsecond=%3\nfocus=%4\nenters=%5\n")
                                  .arg(winId())
                                  .arg(first_.text(), second_.text(), focus)
                                  .arg(enters_);
        file.write(state.toUtf8());
        file.commit();
    }

  private:
    QString statePath_;
    QLineEdit first_;
    QLineEdit second_;
    int enters_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString clipboardText = option(arguments, "own-clipboard");
    if (!clipboardText.isEmpty()) {
        QGuiApplication::clipboard()->setText(clipboardText);
    }
    Target target(option(arguments, "state-file"));
    target.prefill(option(arguments, "first-text"));
    target.setWindowTitle(option(arguments, "target-title"));
    if (arguments.contains("--stay-on-top")) {
        target.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    target.resize(400, 120);
    target.show();
    QTimer::singleShot(0, &target, &Target::writeState);
    return app.exec();
}
