#include "server_contract/errocontabil.h"

namespace {

struct Erro {
    const char *codigo;
    const char *descricao;
};

constexpr Erro erros[] = {
    {"C01", "O tipo de conta a pagar não tem conta de despesa."},
    {"C02", "O fornecedor não tem conta contábil."},
    {"C03", "O tipo de ajuste não tem conta contábil."},
    {"C04", "A conta não existe no plano de contas."},
    {"C05", "A conta é sintética e não recebe lançamentos."},
    {"C06", "O tipo de conta a pagar não está cadastrado."},
    {"C07", "O tipo de ajuste não está cadastrado."},
    {"H01", "O tipo de conta ou de ajuste não tem histórico padrão."},
    {"H02", "O histórico padrão não está cadastrado."},
    {"D01", "A data do lançamento está fora do período contábil aberto."},
    {"V01", "O valor do lançamento é zero ou negativo."},
    {"B01", "Os débitos do lançamento diferem dos créditos."},
    {"R01", "Os percentuais do rateio da conta não somam 100,00%."},
    {"R02", "O rateio da conta indica filial de outra empresa ou centro de custo não cadastrado."},
    {"R03", "A conta não tem rateio e a empresa não tem centro de custo padrão."},
};

} // namespace

namespace ErroContabil {

QString descricao(const QString &codigo) {
    const QString trimmed = codigo.trimmed();
    for (const Erro &erro : erros)
        if (trimmed.compare(QLatin1String(erro.codigo), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(erro.descricao);
    return QStringLiteral("Erro de contabilização sem descrição cadastrada (código %1).").arg(trimmed);
}

} // namespace ErroContabil
