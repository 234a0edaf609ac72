#include "filterdata.h"

#include "framework/core/tdatetime.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <stdexcept>

namespace {

QString seededUrl;

void exec(QSqlDatabase &db, const QString &sql, const QVariantList &values = {}) {
    QSqlQuery query(db);
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw std::runtime_error(query.lastError().text().toStdString());
}

// One payable; each field starts as the matching one's and a decoy changes one of them.
struct Payable {
    QString branch = QStringLiteral("0901");
    QString postingBranch = QStringLiteral("0902");
    QString supplier = QStringLiteral("F9001");
    QString document = FilterData::matchingDocument;
    int issued = -50;
    int entered = -48;
    qint64 documentCents = 100000;
    int due = -20;
    QString type = QStringLiteral("MAT");
    qint64 originalCents = 90000;
    qint64 netCents = 85000;
    QString accounted = QStringLiteral("S");
};

void insert(QSqlDatabase &db, int number, const Payable &p) {
    const QString entry = QStringLiteral("9%1").arg(number, 5, 10, QLatin1Char('0'));
    exec(db,
         "INSERT INTO NOTAFISCAL (CDFILIAL, NRLANCTONF, NRNOTAFISC, DTEMISSAO, DTENTRSAID, IDSTATUS, "
         "VRNOTAFISC,"
         " CDFORNECED) VALUES (?, ?, ?, ?, ?, 'R', ?, ?)",
         {p.branch, entry, p.document, qint64(FilterData::day(p.issued)), qint64(FilterData::day(p.entered)),
          p.documentCents, p.supplier});
    exec(db,
         "INSERT INTO CONTAPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, DSCONTAPAG, CDTPCTPAGAR,"
         " DTORIGVENPAG, DTATUAVENPAG, VRORIGPAG, VRATUAPAG, VRLIQPAG, IDCTBLCTPAG, CDFILILANC)"
         " VALUES (?, ?, '01', '01', ?, ?, ?, ?, ?, ?, ?, ?, ?)",
         {p.branch, entry, QStringLiteral("Conta %1").arg(number), p.type, qint64(FilterData::day(p.due)),
          qint64(FilterData::day(p.due)), p.originalCents, p.netCents, p.netCents, p.accounted,
          p.postingBranch});
}

QList<Payable> decoys() {
    QList<Payable> list(13);
    list[0].supplier = QStringLiteral("F9002");
    list[1].document = QStringLiteral("2500");
    list[2].issued = -30;
    list[3].entered = -30;
    list[4].branch = QStringLiteral("0902");
    list[5].postingBranch = QStringLiteral("0901");
    list[6].documentCents = 160000;
    list[7].due = -40;
    list[8].due = 10; // in the due range, not yet due
    list[9].type = QStringLiteral("SERV");
    list[10].originalCents = 110000;
    list[11].netCents = 95000;
    list[12].accounted = QStringLiteral("N");
    return list;
}

} // namespace

double FilterData::day(int days) {
    return today() + days;
}

namespace {

// Runs work on a connection of its own to the seeded database, in one transaction.
template <typename Work> void withDatabase(Work work) {
    const QString name = QStringLiteral("filterdata");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(seededUrl.mid(QStringLiteral("sqlite:").size()));
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
        db.transaction();
        work(db);
        db.commit();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

void FilterData::execute(const QString &sql, const QVariantList &values) {
    withDatabase([&](QSqlDatabase &db) { exec(db, sql, values); });
}

void FilterData::seed(const QString &databaseUrl) {
    seededUrl = databaseUrl;
    withDatabase([](QSqlDatabase &db) {
        exec(db, "INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES (?, 'Filtro Teste Ltda')", {company});
        for (const char *branch : {"0901", "0902"})
            exec(db, "INSERT INTO FILIAL (CDFILIAL, NMFILIAL, CDEMPRESA) VALUES (?, ?, ?)",
                 {branch, QStringLiteral("Filial %1").arg(branch), company});
        exec(db, "INSERT INTO OPEREMPRESA (CDOPERADOR, CDEMPRESA) VALUES ('admin', ?)", {company});
        for (const char *supplier : {"F9001", "F9002"})
            exec(db, "INSERT INTO FORNECEDOR (CDFORNECED, NMRAZSOCFORN, IDTPIJURFORN) VALUES (?, ?, 'J')",
                 {supplier, QStringLiteral("Fornecedor %1").arg(supplier)});
        insert(db, 0, Payable());
        int number = 1;
        for (const Payable &decoy : decoys())
            insert(db, number++, decoy);
    });
}
