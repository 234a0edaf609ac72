#include "framework/session/norvela.h"
#include "framework/session/operador.h"
#include "framework/ui/locale.h"
#include "framework/ui/messages/guard.h"
#include "host/consolemessages.h"
#include "host/filterscreenshot.h"
#include "host/hostoptions.h"
#include "host/identity.h"
#include "host/mainwindow.h"
#include "host/previewrun.h"
#include "host/sessiondatabase.h"
#include "host/signindialog.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

namespace {

int fail(const QString &text) {
    QTextStream(stderr) << "paghost: " << text << '\n';
    return 1;
}

// The options are read under a console application object, so that --help and a wrong option
// need no display. Empty when the run ends here; then `exitCode` says how.
std::optional<HostOptions> readOptions(int &argc, char **argv, int &exitCode) {
    QCoreApplication console(argc, argv);
    loadQtTranslations();
    try {
        HostOptions options = readHostOptions(QCoreApplication::arguments());
        if (!options.help)
            return options;
        QTextStream(stdout) << options.helpText;
        exitCode = 0;
    } catch (const std::exception &failure) {
        exitCode = fail(QString::fromUtf8(failure.what()));
    }
    return std::nullopt;
}

// A screenshot needs no screen: without a display it is drawn off screen. Windows for a clerk
// need one; without it the user is told how to see the screen anyway.
bool prepareDisplay(const HostOptions &options) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    if (options.screenshotFile.isEmpty())
        return false;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

enum class SignIn { Accepted, Refused, Cancelled };

// Signs in with --operator/--password when both are given, otherwise through the dialog.
SignIn signIn(const HostOptions &options) {
    if (!options.operador.isEmpty() && !options.password.isEmpty()) {
        if (!checkOperatorPassword(options.operador, options.password))
            return SignIn::Refused;
        if (const QString problem = serverRefusal(options.operador, options.password); !problem.isEmpty())
            throw std::runtime_error(problem.toStdString());
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

// Saves the main window once the screen asked for is open; a screen that could not be opened, or
// an error shown on the way, makes the run fail.
void saveScreenshotAndQuit(HostMainWindow &window, const HostOptions &options,
                           const ConsoleMessages &console) {
    QTimer::singleShot(0, &window, [&window, &options, &console] {
        if (!options.openCode.isEmpty() && !window.hasOpenScreen()) {
            QApplication::exit(fail(QStringLiteral("a tela %1 não pôde ser aberta.").arg(options.openCode)));
            return;
        }
        if (console.errorsShown() > 0) {
            QApplication::exit(fail(QStringLiteral("a tela foi aberta com erros; nada foi salvo.")));
            return;
        }
        if (!window.grab().save(options.screenshotFile, "PNG")) {
            QApplication::exit(
                fail(QStringLiteral("não foi possível salvar %1").arg(options.screenshotFile)));
            return;
        }
        QApplication::exit(0);
    });
}

int runHost(const HostOptions &options, ConsoleMessages &console) {
    if (options.databaseUrl.isEmpty())
        throw std::runtime_error("banco de dados não informado (--database ou arquivo de configuração).");
    applyToSession(options);
    openSessionDatabase(options.databaseUrl);
    switch (signIn(options)) {
    case SignIn::Refused:
        return fail(QStringLiteral("Operador ou senha inválidos."));
    case SignIn::Cancelled:
        return 0;
    case SignIn::Accepted:
        break;
    }
    HostMainWindow window;
    window.showAsLeft();
    if (!options.openCode.isEmpty())
        window.openScreen(options.openCode);
    if (!options.previewRunCompany.isEmpty())
        guard([&] { openPreviewOfFailedRun(options.previewRunCompany); });
    if (options.screenshotFilter && !options.screenshotFile.isEmpty() &&
        !saveFilterPages(options.screenshotFile))
        return fail(QStringLiteral("não foi possível salvar as páginas do filtro"));
    if (!options.screenshotFile.isEmpty())
        saveScreenshotAndQuit(window, options, console);
    return QApplication::exec();
}

} // namespace

int main(int argc, char *argv[]) {
    int exitCode = 0;
    const std::optional<HostOptions> options = readOptions(argc, argv, exitCode);
    if (!options)
        return exitCode;
    if (!prepareDisplay(*options))
        return fail(QStringLiteral("não há tela para mostrar as janelas (DISPLAY não está definido). Para "
                                   "ver a tela sem uma, salve-a em imagem com ./pag screenshot; ou rode "
                                   "numa sessão gráfica, ou defina DISPLAY."));
    QApplication app(argc, argv);
    QApplication::setApplicationName(systemName());
    QApplication::setWindowIcon(applicationIcon());
    loadQtTranslations();
    usePortugueseLocale();
    ConsoleMessages console;
    const bool unattended = !options->screenshotFile.isEmpty();
    if (unattended)
        MessageService::setCurrent(&console);
    try {
        exitCode = runHost(*options, console);
    } catch (const std::exception &failure) {
        const QString text = QString::fromUtf8(failure.what());
        if (!unattended)
            MessageService::current().error(text);
        exitCode = fail(text);
    }
    MessageService::setCurrent(nullptr);
    return exitCode;
}
