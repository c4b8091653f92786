// A Qt document window, the counterpart of gtk-text-client: a text edit taking the input method's
// commits and marked text through Qt's own input method plugin, and a field beside it to move the
// focus to. Each change prints `view=TEXT<TAB>marked=TEXT<TAB>field=TEXT`.
// usage: qt-text-client TITLE
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

namespace {

class Document : public QWidget {
public:
    explicit Document(const QString& title) {
        setWindowTitle(title);
        resize(600, 300);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(view_);
        layout->addWidget(field_);
        view_->installEventFilter(this);
        connect(view_, &QTextEdit::textChanged, this, &Document::report);
        connect(field_, &QLineEdit::textChanged, this, &Document::report);
        view_->setFocus();
        report();
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::InputMethod) {
            marked_ = static_cast<QInputMethodEvent*>(event)->preeditString();
            QTimer::singleShot(0, this, &Document::report); // after the edit has taken the event
        }
        return QWidget::eventFilter(object, event);
    }

private:
    void report() {
        std::printf("view=%s\tmarked=%s\tfield=%s\n", view_->toPlainText().toUtf8().constData(),
                    marked_.toUtf8().constData(), field_->text().toUtf8().constData());
        std::fflush(stdout);
    }

    QTextEdit* view_ = new QTextEdit(this);
    QLineEdit* field_ = new QLineEdit(this);
    QString marked_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Document document(argc > 1 ? QString::fromUtf8(argv[1]) : QStringLiteral("qt-text-client"));
    document.show();
    return app.exec();
}
