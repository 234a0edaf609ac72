#include "appserver/db/demodata_p.h"
#include "appserver/db/taxid.h"
#include "framework/net/password.h"

Inserter::Inserter(QSqlDatabase &db, const QString &table, const QStringList &columns)
    : m_query(prepareSql(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                 .arg(table, columns.join(QStringLiteral(", ")),
                                      QStringList(columns.size(), QStringLiteral("?")).join(u',')))) {}

void Inserter::insert(const QVariantList &values) {
    for (int i = 0; i < values.size(); ++i)
        m_query.bindValue(i, values.at(i));
    execPrepared(m_query);
}

qint64 dayNumber(const QDate &date) {
    return date.toJulianDay() - QDate(1899, 12, 30).toJulianDay();
}

QDate openPeriodStart(const QDate &today) {
    return QDate(today.year(), today.month(), 1).addMonths(-1);
}

namespace {

const QVariant null;

void insertRows(QSqlDatabase &db, const QString &table, const QStringList &columns,
                const QList<QVariantList> &rows) {
    Inserter inserter(db, table, columns);
    for (const QVariantList &row : rows)
        inserter.insert(row);
}

void seedAccounting(QSqlDatabase &db) {
    insertRows(
        db, "CENTROCUSTO", {"CDCENTCUST", "NMCENTCUST"},
        {{"0001", "Administração"}, {"0002", "Comercial"}, {"0003", "Logística"}, {"0004", "Produção"}});
    insertRows(db, "PLANOCONTAS", {"CDCONTCTBL", "CDCONTREDU", "NMCONTCTBL", "IDCONTANALI"},
               {{"1.1.1.01", "1101", "Caixa e bancos", "S"},
                {"2", "2000", "Passivo", "N"},
                {"2.1.1.01", "2101", "Fornecedores nacionais", "S"},
                {"2.1.1.02", "2102", "Fornecedores de serviços", "S"},
                {"3.1.1.01", "3101", "Despesas com materiais", "S"},
                {"3.1.1.02", "3102", "Despesas com serviços", "S"},
                {"3.1.1.03", "3103", "Aluguéis", "S"},
                {"3.1.1.04", "3104", "Energia e telecomunicações", "S"},
                {"3.2.1.01", "3201", "Juros e multas pagos", "S"},
                {"4.1.1.01", "4101", "Descontos obtidos", "S"}});
    insertRows(db, "HISTPADRAO", {"CDHISTPADR", "DSHISTPADR"},
               {{"0001", "Vr. ref. NF {DOCUMENTO} de {FORNECEDOR}"},
                {"0002", "Desconto obtido NF {DOCUMENTO} de {FORNECEDOR}"},
                {"0003", "Juros/multa NF {DOCUMENTO} de {FORNECEDOR}"}});
}

QList<Branch> seedCompanies(QSqlDatabase &db, const QDate &today) {
    insertRows(db, "EMPRESA", {"CDEMPRESA", "NMEMPRESA", "CDCENTCUST", "NRINSJUREMPR"},
               {{"01", "Comercial Ipê Ltda", "0001", completeCnpj("112223330001")},
                {"02", "Indústria Jacarandá S.A.", "0004", completeCnpj("445556660001")},
                {"03", "Serviços Aroeira Ltda", "0002", completeCnpj("778889990001")}});
    const QList<QVariantList> branches = {
        {"0101", "Matriz São Paulo", "01", "0001"},  {"0102", "Filial Campinas", "01", "0002"},
        {"0103", "Filial Santos", "01", "0003"},     {"0201", "Fábrica Joinville", "02", "0004"},
        {"0202", "Depósito Curitiba", "02", "0003"}, {"0301", "Escritório Recife", "03", "0002"}};
    insertRows(db, "FILIAL", {"CDFILIAL", "NMFILIAL", "CDEMPRESA", "CDCENTCUST"}, branches);
    // Branch 0202 has no parameters and 0102 no document-number width: the client then uses 7.
    insertRows(db, "PARAMFILIAL", {"CDFILIAL", "NRTAMNUMNFUT"},
               {{"0101", 9}, {"0102", null}, {"0103", 7}, {"0201", 9}, {"0301", 6}});
    insertRows(db, "GERALPAG", {"CDGERALPAG", "QTDIAANTLANP", "QTDIAAPOLANP"}, {{"1", 30, 30}});
    const QDate open = openPeriodStart(today);
    Inserter periods(db, "PERCONTABIL", {"CDEMPRESA", "DTINICCTBL", "DTFINACCTBL", "IDSITUPER"});
    for (const char *company : {"01", "02", "03"}) {
        for (int back = 6; back >= 1; --back) {
            const QDate start = open.addMonths(-back);
            periods.insert({company, dayNumber(start), dayNumber(start.addMonths(1).addDays(-1)), "F"});
        }
        periods.insert({company, dayNumber(open), dayNumber(open.addMonths(2).addDays(-1)), "A"});
    }
    QList<Branch> result;
    for (const QVariantList &branch : branches)
        result << Branch{branch.at(0).toString(), branch.at(2).toString()};
    return result;
}

void seedTypes(QSqlDatabase &db) {
    // "DIVER" has no expense account: recalculating one of its instalments reports an accounting error.
    insertRows(db, "TIPOCTPAGAR", {"CDTPCTPAGAR", "DSTPCTPAGAR", "CDCONTDESP", "CDHISTPADR"},
               {{"MAT", "Compra de materiais", "3.1.1.01", "0001"},
                {"SERV", "Prestação de serviços", "3.1.1.02", "0001"},
                {"ALUG", "Aluguel", "3.1.1.03", "0001"},
                {"ENERG", "Energia elétrica", "3.1.1.04", "0001"},
                {"TELEF", "Telefonia e internet", "3.1.1.04", "0001"},
                {"DIVER", "Despesas diversas", null, "0001"}});
    insertRows(db, "TIPOAJPAGAR", {"CDAJUCTPAG", "DSAJUCTPAG", "IDAJUCTPAG", "CDCONTCTBL", "CDHISTPADR"},
               {{"0001", "Desconto comercial", "D", "4.1.1.01", "0002"},
                {"0002", "Juros por atraso", "A", "3.2.1.01", "0003"},
                {"0003", "Multa por atraso", "A", "3.2.1.01", "0003"},
                {"0004", "Abatimento", "D", "4.1.1.01", "0002"}});
}

void seedOperators(QSqlDatabase &db) {
    insertRows(db, "OPERADOR", {"CDOPERADOR", "NMOPERADOR", "DSSENHAHASH", "IDATIVO"},
               {{"admin", "Administrador", hashPassword("admin"), "S"},
                {"caixa", "Operador de caixa", hashPassword("caixa"), "S"},
                {"fiscal", "Analista fiscal", hashPassword("fiscal"), "S"}});
    insertRows(db, "OPEREMPRESA", {"CDOPERADOR", "CDEMPRESA"},
               {{"admin", "01"}, {"admin", "02"}, {"admin", "03"}, {"caixa", "01"}, {"fiscal", "01"}});
}

QString digits(QRandomGenerator &rng, int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + rng.bounded(10));
    return text;
}

QStringList seedSuppliers(QSqlDatabase &db, QRandomGenerator &rng, int count) {
    static const QStringList first = {"Alfa",  "Brasil", "Central", "Delta", "Estrela",   "Horizonte",
                                      "Ideal", "Líder",  "Norte",   "Oeste", "Primavera", "Real",
                                      "Sul",   "Titã",   "União",   "Vale"};
    static const QStringList second = {"Materiais",   "Serviços",    "Transportes", "Papelaria",
                                       "Elétrica",    "Informática", "Alimentos",   "Química",
                                       "Metalúrgica", "Embalagens"};
    static const QStringList persons = {"Ana Souza",  "Bruno Lima",  "Carla Dias",    "Diego Rocha",
                                        "Elisa Melo", "Fábio Nunes", "Gabriela Reis", "Hugo Prado"};
    Inserter suppliers(
        db, "FORNECEDOR",
        {"CDFORNECED", "NMRAZSOCFORN", "NMFANTFORN", "IDTPIJURFORN", "NRINSJURFORN", "CDCONTFORN"});
    QStringList codes;
    for (int i = 1; i <= count; ++i) {
        const QString code = QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
        const bool person = i % 7 == 0;
        QString corporate, trade;
        if (person) {
            corporate = persons.at(rng.bounded(persons.size())) + QStringLiteral(" ME");
            trade = corporate;
        } else {
            trade = first.at(rng.bounded(first.size())) + u' ' + second.at(rng.bounded(second.size()));
            corporate = trade + (i % 2 ? QStringLiteral(" Ltda") : QStringLiteral(" S.A."));
        }
        const QString taxId = person ? completeCpf(digits(rng, 9)) : completeCnpj(digits(rng, 8) + "0001");
        suppliers.insert(
            {code, corporate, trade, person ? "F" : "J", taxId, i % 5 == 0 ? "2.1.1.02" : "2.1.1.01"});
        codes << code;
    }
    return codes;
}

} // namespace

DemoOrganisation seedOrganisation(QSqlDatabase &db, QRandomGenerator &rng, const QDate &today) {
    seedAccounting(db);
    DemoOrganisation org;
    org.branches = seedCompanies(db, today);
    seedTypes(db);
    seedOperators(db);
    org.suppliers = seedSuppliers(db, rng, 300);
    org.accountTypes = {"MAT", "SERV", "ALUG", "ENERG", "TELEF", "DIVER"};
    org.adjustmentTypes = {"0001", "0002", "0003", "0004"};
    org.costCentres = {"0001", "0002", "0003", "0004"};
    return org;
}
