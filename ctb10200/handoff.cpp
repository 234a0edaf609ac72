#include "ctb10200/handoff.h"

#include "framework/core/abort.h"
#include "server_contract/recconpag.h"

namespace {

enum Elemento { Empresa, Lancamento, Lancamentos, Rateio, Erros, Elementos };

const char *const nomes[Elementos] = {"empresa", "número do lançamento", "lançamentos", "rateio", "erros"};

QString nomeDo(int elemento) {
    return QStringLiteral("parâmetro %1 (%2)").arg(elemento + 1).arg(QString::fromUtf8(nomes[elemento]));
}

QString textoDo(const QVariantList &params, int elemento) {
    const QVariant &value = params.at(elemento);
    if (value.typeId() != QMetaType::QString)
        MensErro(
            QStringLiteral("O %1 da prévia da contabilização deveria ser um texto.").arg(nomeDo(elemento)),
            true);
    return value.toString().trimmed();
}

// A packet with rows must bring every field of its answer packet; an empty one may come without fields.
DataPacket pacoteDo(const QVariantList &params, int elemento, const QList<FieldDef> &fields) {
    const QVariant &value = params.at(elemento);
    if (value.metaType() != QMetaType::fromType<DataPacket>())
        MensErro(QStringLiteral("O %1 da prévia da contabilização deveria ser um pacote de dados.")
                     .arg(nomeDo(elemento)),
                 true);
    const DataPacket packet = value.value<DataPacket>();
    if (packet.rowCount() > 0)
        for (const FieldDef &def : fields)
            if (packet.fieldIndex(def.name) < 0)
                MensErro(QStringLiteral("O %1 da prévia da contabilização não traz o campo %2.")
                             .arg(nomeDo(elemento), def.name),
                         true);
    return packet;
}

} // namespace

bool PreviaContabil::pedeLancamentoGravado() const {
    return lancamentos.rowCount() == 0 && rateio.rowCount() == 0 && erros.rowCount() == 0;
}

PreviaContabil lePrevia(const QVariantList &params) {
    if (params.size() != Elementos)
        MensErro(
            QStringLiteral("A prévia da contabilização recebeu %1 parâmetros e espera 5: empresa, número "
                           "do lançamento, lançamentos, rateio e erros.")
                .arg(params.size()),
            true);
    PreviaContabil previa;
    previa.empresa = textoDo(params, Empresa);
    previa.lancamento = textoDo(params, Lancamento);
    previa.lancamentos = pacoteDo(params, Lancamentos, RecConPag::lancContTempFields());
    previa.rateio = pacoteDo(params, Rateio, RecConPag::rateioFields());
    previa.erros = pacoteDo(params, Erros, RecConPag::errosTempFields());
    return previa;
}
