#include "framework/session/dbgeral.h"
#include "framework/session/norvela.h"
#include "framework/session/operador.h"
#include "framework/ui/messages/guard.h"
#include "host/appicon.h"
#include "host/consolemessages.h"
#include "host/hostoptions.h"
#include "host/mainwindow.h"
#include "host/previewrun.h"
#include "host/signindialog.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

namespace {

int fail(const QString &text) {
    QTextStream(stderr) << "paghost: " << text << '\n';
    return 1;
}

enum class SignIn { Accepted, Refused, Cancelled };

// Signs in with --operator/--password when both are given, otherwise through the dialog.
SignIn signIn(const HostOptions &options) {
    if (!options.operador.isEmpty() && !options.password.isEmpty()) {
        if (!checkOperatorPassword(options.operador, options.password))
            return SignIn::Refused;
        Norvela::setOperador(options.operador, options.password);
        return SignIn::Accepted;
    }
    SignInDialog dialog;
    dialog.setOperador(options.operador);
    if (dialog.exec() != QDialog::Accepted)
        return dialog.triesLeft() == 0 ? SignIn::Refused : SignIn::Cancelled;
    Norvela::setOperador(dialog.operador(), dialog.senha());
    return SignIn::Accepted;
}

void saveScreenshotAndQuit(HostMainWindow &window, const QString &file) {
    QTimer::singleShot(0, &window, [&window, file] {
        const bool saved = window.grab().save(file, "PNG");
        if (!saved)
            fail(QStringLiteral("não foi possível salvar %1").arg(file));
        QApplication::exit(saved ? 0 : 1);
    });
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Contas a Pagar"));
    QApplication::setWindowIcon(applicationIcon());
    ConsoleMessages console;
    try {
        HostOptions options;
        options = readHostOptions(QApplication::arguments());
        if (options.help) {
            QTextStream(stdout) << options.helpText;
            return 0;
        }
        if (options.databaseUrl.isEmpty())
            return fail(
                QStringLiteral("banco de dados não informado (--database ou arquivo de configuração)."));
        applyToSession(options);
        dtmDBGeral()->open(options.databaseUrl);
        if (!options.screenshotFile.isEmpty())
            MessageService::setCurrent(&console);
        switch (signIn(options)) {
        case SignIn::Refused:
            return fail(QStringLiteral("Operador ou senha inválidos."));
        case SignIn::Cancelled:
            return 0;
        case SignIn::Accepted:
            break;
        }

        HostMainWindow window;
        window.show();
        if (!options.openCode.isEmpty())
            window.openScreen(options.openCode);
        if (!options.previewRunCompany.isEmpty())
            guard([&] { openPreviewOfFailedRun(options.previewRunCompany); });
        if (!options.screenshotFile.isEmpty())
            saveScreenshotAndQuit(window, options.screenshotFile);
        const int result = QApplication::exec();
        MessageService::setCurrent(nullptr);
        return result;
    } catch (const std::exception &failure) {
        MessageService::setCurrent(nullptr);
        return fail(QString::fromUtf8(failure.what()));
    }
}
