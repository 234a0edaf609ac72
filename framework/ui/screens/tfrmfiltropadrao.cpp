#include "framework/ui/screens/tfrmfiltropadrao.h"

#include "framework/core/abort.h"
#include "framework/core/dataset.h"
#include "framework/ui/messages/guard.h"
#include "framework/ui/messages/messageservice.h"
#include "framework/ui/screens/savedoptions.h"

#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// A side-panel button shows its glyph; its hint says what it does. The confirm button also
// shows its caption.
void setGlyph(TButtonFlat *button, QStyle::StandardPixmap glyph, Qt::ToolButtonStyle look) {
    button->setIcon(button->style()->standardIcon(glyph));
    button->setToolButtonStyle(look);
}

QWidget *sidePanel(const QString &objectName, QWidget *parent) {
    auto *panel = new QWidget(parent);
    panel->setObjectName(objectName);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    return panel;
}

} // namespace

TfrmFiltroPadrao::TfrmFiltroPadrao(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmFiltroPadrao"));
    setModal(true);
    auto *row = new QHBoxLayout(this);
    grbFiltroPadrao = new QGroupBox(this);
    grbFiltroPadrao->setObjectName(QStringLiteral("grbFiltroPadrao"));
    auto *criteria = new QVBoxLayout(grbFiltroPadrao);
    pgcPadrao = new PageControl(QStringLiteral("pgcPadrao"), grbFiltroPadrao);
    criteria->addWidget(pgcPadrao);
    row->addWidget(grbFiltroPadrao, 1);
    panMenu = sidePanel(QStringLiteral("panMenu"), this);
    buildSidePanel(static_cast<QVBoxLayout *>(panMenu->layout()));
    row->addWidget(panMenu);
    bindHandlers();
}

void TfrmFiltroPadrao::buildSidePanel(QVBoxLayout *side) {
    lblCodTela = new QLabel(panMenu);
    lblCodTela->setObjectName(QStringLiteral("lblCodTela"));
    side->addWidget(lblCodTela);
    panHelp = sidePanel(QStringLiteral("panHelp"), panMenu);
    sbtHelp = new TButtonFlat(QStringLiteral("sbtHelp"), QStringLiteral("Ajuda"), panHelp);
    btfSaveOpc = new TButtonFlat(QStringLiteral("btfSaveOpc"), QStringLiteral("Salvar opções"), panHelp);
    btfLoadOpc = new TButtonFlat(QStringLiteral("btfLoadOpc"), QStringLiteral("Carregar opções"), panHelp);
    setGlyph(sbtHelp, QStyle::SP_MessageBoxQuestion, Qt::ToolButtonIconOnly);
    setGlyph(btfSaveOpc, QStyle::SP_DialogSaveButton, Qt::ToolButtonIconOnly);
    setGlyph(btfLoadOpc, QStyle::SP_DialogOpenButton, Qt::ToolButtonIconOnly);
    for (QWidget *button : {sbtHelp, btfSaveOpc, btfLoadOpc})
        panHelp->layout()->addWidget(button);
    side->addWidget(panHelp);
    side->addStretch();
    panBotoes = sidePanel(QStringLiteral("panBotoes"), panMenu);
    sbtConfirma = new TButtonFlat(QStringLiteral("sbtConfirma"), QStringLiteral("Confirmar"), panBotoes);
    setGlyph(sbtConfirma, QStyle::SP_DialogApplyButton, Qt::ToolButtonTextUnderIcon);
    panBotoes->layout()->addWidget(sbtConfirma);
    side->addWidget(panBotoes);
    ppmOpcoes = new QMenu(this);
    ppmOpcoes->setObjectName(QStringLiteral("ppmOpcoes"));
    ppmOpcoes->addAction(btfSaveOpc->hint(), this, guarded([this] { btfSaveOpcClick(); }));
    ppmOpcoes->addAction(btfLoadOpc->hint(), this, guarded([this] { btfLoadOpcClick(); }));
    ppmOpcoes->setTitle(QStringLiteral("Opções"));
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addMenu(ppmOpcoes);
    cdsCarregaOpcoes = new ClientDataSet(this);
    cdsCarregaOpcoes->setObjectName(QStringLiteral("cdsCarregaOpcoes"));
    cdsCarregaOpcoes->addField({.name = QStringLiteral("NMOPCAO"),
                                .kind = FieldKind::Text,
                                .size = 60,
                                .displayLabel = QStringLiteral("Opção")});
}

void TfrmFiltroPadrao::bindHandlers() {
    connect(sbtConfirma, &QAbstractButton::clicked, this, guarded([this] { sbtConfirmaClick(); }));
    connect(btfSaveOpc, &QAbstractButton::clicked, this, guarded([this] { btfSaveOpcClick(); }));
    connect(btfLoadOpc, &QAbstractButton::clicked, this, guarded([this] { btfLoadOpcClick(); }));
    connect(sbtHelp, &QAbstractButton::clicked, this, guarded([this] { showHelp(helpFile, helpContext); }));
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            guarded([this] { showHelp(helpFile, helpContext); }));
}

QString TfrmFiltroPadrao::screenCode() const {
    return lblCodTela->text().isEmpty() ? objectName() : lblCodTela->text();
}

// A dialog shown over its owner window takes the keyboard at once, as a modal dialog must.
void TfrmFiltroPadrao::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    activateWindow();
    guard([this] { FormActivate(); });
}

void TfrmFiltroPadrao::contextMenuEvent(QContextMenuEvent *event) {
    PopupMenu1->popup(event->globalPos());
}

void TfrmFiltroPadrao::done(int result) {
    CloseAction action = CloseAction::Hide;
    if (!guardCompleted([&] { FormClose(action); }) || action == CloseAction::Keep)
        return;
    QDialog::done(result);
}

void TfrmFiltroPadrao::FormCreate() {
    if (pgcPadrao->count() > 0)
        pgcPadrao->setCurrentIndex(0);
}

void TfrmFiltroPadrao::FormActivate() {}

void TfrmFiltroPadrao::FormClose(CloseAction &action) {
    action = CloseAction::Hide;
}

void TfrmFiltroPadrao::sbtConfirmaClick() {
    accept();
}

void TfrmFiltroPadrao::btfSaveOpcClick() {
    const QString name = MessageService::current().chooseName(QStringLiteral("Salvar opções como:"),
                                                              SavedOptions::names(screenCode()), true);
    if (name.isEmpty())
        return;
    SavedOptions::save(screenCode(), name, this, optionValues);
}

// Fills cdsCarregaOpcoes with the names saved for this dialog by the current operator.
QStringList TfrmFiltroPadrao::loadSavedNames() {
    DataPacket packet(cdsCarregaOpcoes->fieldDefs());
    const QStringList names = SavedOptions::names(screenCode());
    for (const QString &name : names)
        packet.appendRow({name});
    cdsCarregaOpcoes->setData(packet);
    return names;
}

void TfrmFiltroPadrao::btfLoadOpcClick() {
    const QStringList names = loadSavedNames();
    if (names.isEmpty())
        MensErro(QStringLiteral("Não há opções salvas."), true);
    const QString name =
        MessageService::current().chooseName(QStringLiteral("Carregar opções:"), names, false);
    if (name.isEmpty())
        throw SilentAbort();
    std::optional<SavedOptions::Entry> entry;
    try {
        entry = SavedOptions::read(screenCode(), name);
    } catch (const SavedOptions::Damaged &damaged) {
        MensErro(damaged.message(), true);
    }
    if (!entry)
        MensErro(QStringLiteral("Opções \"%1\" não encontradas.").arg(name), true);
    checkOptionValues(entry->optionValues);
    SavedOptions::apply(*entry, this);
    optionValues = entry->optionValues;
}

void TfrmFiltroPadrao::checkOptionValues(const QStringList &) {}
