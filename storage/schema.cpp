#include "storage/schema.h"

#include <filesystem>
#include <map>

#include "storage/backends.h"
#include "storage/demo_data.h"

namespace condpag {
namespace {

// Portable column types: every statement below runs unchanged on SQLite and PostgreSQL.
const char* const kTables[] = {
    "CREATE TABLE IF NOT EXISTS CG62_CONDPAGDES ("
    " CG62_CODPAG VARCHAR(6) NOT NULL PRIMARY KEY,"
    " CG62_DESCPAG VARCHAR(40),"
    " CG62_DESPAGANAL VARCHAR(80),"
    " CG62_FLGDESC SMALLINT DEFAULT 0,"
    " CG62_FLGSTORNOIVA SMALLINT DEFAULT 0,"
    " CG62_FLGDISGG SMALLINT DEFAULT 0,"
    " CG62_SCPERMER1 DOUBLE PRECISION,"
    " CG62_SCPERMER2 DOUBLE PRECISION,"
    " CG62_SCPERCAS DOUBLE PRECISION,"
    " CG62_SCPERCART26 DOUBLE PRECISION,"
    " CG62_SCART26 DOUBLE PRECISION,"
    " CG62_IDMEDIA_CG99 INTEGER)",

    "CREATE TABLE IF NOT EXISTS CG63_CONDPAGDET ("
    " CG63_CODPAG_CG62 VARCHAR(6) NOT NULL,"
    " CG63_PROG INTEGER NOT NULL,"
    " CG63_TIPOEFF SMALLINT DEFAULT 13,"
    " CG63_STIPOEFF SMALLINT,"
    " CG63_INDTIPODECOR SMALLINT DEFAULT 1,"
    " CG63_GGDECOR INTEGER,"
    " CG63_INDDATARIF SMALLINT DEFAULT 0,"
    " CG63_INDTIPOCALEND SMALLINT DEFAULT 0,"
    " CG63_FLGFRPERCIMP SMALLINT DEFAULT 1,"
    " CG63_PERCIMP DOUBLE PRECISION DEFAULT 0,"
    " CG63_EL1FRIMP SMALLINT DEFAULT 0,"
    " CG63_EL2FRIMP SMALLINT DEFAULT 0,"
    " CG63_FLGFRPERCIVA SMALLINT DEFAULT 1,"
    " CG63_PERCIVA DOUBLE PRECISION DEFAULT 0,"
    " CG63_EL1FRIVA SMALLINT DEFAULT 0,"
    " CG63_EL2FRIVA SMALLINT DEFAULT 0,"
    " CG63_INDIMPFIX SMALLINT DEFAULT 0,"
    " CG63_IMPORFIX DOUBLE PRECISION,"
    " CG63_DAGGFIX1 SMALLINT,"
    " CG63_AGGFIX1 SMALLINT,"
    " CG63_GGSCADFIX1 SMALLINT,"
    " CG63_DAGGFIX2 SMALLINT,"
    " CG63_AGGFIX2 SMALLINT,"
    " CG63_GGSCADFIX2 SMALLINT,"
    " CG63_GGMMFIX INTEGER,"
    " PRIMARY KEY (CG63_CODPAG_CG62, CG63_PROG))",

    "CREATE TABLE IF NOT EXISTS CG65_PAGSLITANAL ("
    " CG65_CODPAG_CG62 VARCHAR(6) NOT NULL,"
    " CG65_DAMMGG INTEGER NOT NULL,"
    " CG65_AMMGG INTEGER NOT NULL,"
    " CG65_INDTIPOSLIT SMALLINT DEFAULT 1,"
    " CG65_GGMMFIXSLIT INTEGER,"
    " CG65_GGSLSUCC INTEGER DEFAULT 0,"
    " PRIMARY KEY (CG65_CODPAG_CG62, CG65_DAMMGG, CG65_AMMGG))",

    "CREATE TABLE IF NOT EXISTS CG6B_CONDPAGLING ("
    " CG6B_CODICE_CG62 VARCHAR(6) NOT NULL,"
    " CG6B_LINGUA_MG52 VARCHAR(4) NOT NULL,"
    " CG6B_DESCR VARCHAR(40),"
    " CG6B_DESCRANAL VARCHAR(80),"
    " PRIMARY KEY (CG6B_CODICE_CG62, CG6B_LINGUA_MG52))",

    "CREATE TABLE IF NOT EXISTS CG64_SOTTOTIPO ("
    " CG64_TIPOEFF SMALLINT NOT NULL,"
    " CG64_CODSTIPOEFF SMALLINT NOT NULL,"
    " CG64_DESCSTIPO VARCHAR(40),"
    " CG64_GGOFFSET SMALLINT,"
    " CG64_FLGASSEGNO SMALLINT DEFAULT 0,"
    " CG64_CODICE_CG07 VARCHAR(4),"
    " CG64_CODPAGUC VARCHAR(3),"
    " CG64_INDMODFATTURAPA SMALLINT DEFAULT 0,"
    " PRIMARY KEY (CG64_TIPOEFF, CG64_CODSTIPOEFF))",

    // Host tables, only read here.
    "CREATE TABLE IF NOT EXISTS MG52_LINGUE ("
    " MG52_CODICE VARCHAR(4) NOT NULL PRIMARY KEY,"
    " MG52_DESCR VARCHAR(40))",

    "CREATE TABLE IF NOT EXISTS CG07_TABSTATIEST ("
    " CG07_CODICE INTEGER NOT NULL PRIMARY KEY,"
    " CG07_DESCR VARCHAR(40),"
    " CG07_CODISO VARCHAR(2),"
    " CG07_FLGSEPA SMALLINT)",

    "CREATE TABLE IF NOT EXISTS CG6D_CODPAGEXPMAN ("
    " CG6D_CODICE VARCHAR(3) NOT NULL PRIMARY KEY,"
    " CG6D_DESCRPAG VARCHAR(40),"
    " CG6D_CODISO VARCHAR(2),"
    " CG6D_AREA SMALLINT)",

    "CREATE TABLE IF NOT EXISTS CG16_ANAGGEN ("
    " CG16_CODICE INTEGER NOT NULL PRIMARY KEY,"
    " CG16_RAGSOANAG VARCHAR(80))",

    "CREATE TABLE IF NOT EXISTS CG44_CLIFOR ("
    " CG44_DITTA_CG18 INTEGER NOT NULL,"
    " CG44_TIPOCF SMALLINT NOT NULL,"
    " CG44_CLIFOR INTEGER NOT NULL,"
    " CG44_CODICE_CG16 INTEGER,"
    " CG44_CODPAG_CG62 VARCHAR(6),"
    " PRIMARY KEY (CG44_DITTA_CG18, CG44_TIPOCF, CG44_CLIFOR))",

    "CREATE TABLE IF NOT EXISTS MG20_CLIFORSCPAG ("
    " MG20_CODSCAGL VARCHAR(10) NOT NULL PRIMARY KEY,"
    " MG20_DESCR VARCHAR(40),"
    " MG20_CODPAG_CG62 VARCHAR(6))",

    "CREATE TABLE IF NOT EXISTS DO11_DOCTESTATA ("
    " DO11_ID INTEGER NOT NULL PRIMARY KEY,"
    " DO11_DOCUM_MG36 VARCHAR(6),"
    " DO11_NUMDOC INTEGER,"
    " DO11_DATADOC DATE,"
    " DO11_TIPOCF_CG44 SMALLINT,"
    " DO11_CLIFOR_CG44 INTEGER,"
    " DO11_CODPAG_CG62 VARCHAR(6))",

    "CREATE TABLE IF NOT EXISTS EC01_MOVEC ("
    " EC01_ID INTEGER NOT NULL PRIMARY KEY,"
    " EC01_DITTACF_CG18 INTEGER,"
    " EC01_TIPOCF_CG44 SMALLINT,"
    " EC01_CLIFOR_CG44 INTEGER,"
    " EC01_CODPAG_CG62 VARCHAR(6))",

    "CREATE TABLE IF NOT EXISTS EF01_SCADENZE ("
    " EF01_ID INTEGER NOT NULL PRIMARY KEY,"
    " EF01_DITTACF_CG18 INTEGER,"
    " EF01_TIPOCF_CG44 SMALLINT,"
    " EF01_CLIFOR_CG44 INTEGER,"
    " EF01_CODPAG_CG62 VARCHAR(6),"
    " EF01_DATASCAD DATE,"
    " EF01_IMPORTO DOUBLE PRECISION)",
};

// Every column that holds a payment-term code outside its own tables is looked up by the
// deletion guard, so each has an index.
const char* const kIndexes[] = {
    "CREATE INDEX IF NOT EXISTS IX_CG44_CODPAG ON CG44_CLIFOR (CG44_CODPAG_CG62)",
    "CREATE INDEX IF NOT EXISTS IX_MG20_CODPAG ON MG20_CLIFORSCPAG (MG20_CODPAG_CG62)",
    "CREATE INDEX IF NOT EXISTS IX_DO11_CODPAG ON DO11_DOCTESTATA (DO11_CODPAG_CG62)",
    "CREATE INDEX IF NOT EXISTS IX_EC01_CODPAG ON EC01_MOVEC (EC01_CODPAG_CG62)",
    "CREATE INDEX IF NOT EXISTS IX_EF01_CODPAG ON EF01_SCADENZE (EF01_CODPAG_CG62)",
    "CREATE INDEX IF NOT EXISTS IX_CG64_CODICE_CG07 ON CG64_SOTTOTIPO (CG64_CODICE_CG07)",
};

// The system's own tables that the database lacks.
std::vector<std::string> missing_tables(Connection& connection) {
    std::vector<std::string> missing;
    for (const char* table : {"CG62_CONDPAGDES", "CG63_CONDPAGDET", "CG65_PAGSLITANAL",
                              "CG6B_CONDPAGLING", "CG64_SOTTOTIPO"}) {
        if (!connection.Execute(std::string("SELECT COUNT(*) FROM ") + table + " WHERE 1=0").ok()) {
            missing.push_back(table);
        }
    }
    return missing;
}

// Whether the database holds no table at all (a new file, an empty schema): only there may the
// demo database be made.
Expected<bool> holds_no_table(Connection& connection) {
    const char* sql = connection.dialect() == Dialect::Sqlite
                          ? "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'"
                          : "SELECT COUNT(*) FROM INFORMATION_SCHEMA.TABLES WHERE "
                            "TABLE_SCHEMA = SCHEMA_NAME()";
    if (connection.dialect() == Dialect::Postgres) {
        sql =
            "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = "
            "current_schema()";
    }
    auto result = connection.Execute(sql);
    if (!result) return result.error();
    return result->rows.empty() || CDecN(result->rows[0][0]) == 0;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

const std::vector<std::string>& key_columns(std::string_view table) {
    static const std::map<std::string, std::vector<std::string>, std::less<>> keys = {
        {"CG62_CONDPAGDES", {"CG62_CODPAG"}},
        {"CG63_CONDPAGDET", {"CG63_CODPAG_CG62", "CG63_PROG"}},
        {"CG65_PAGSLITANAL", {"CG65_CODPAG_CG62", "CG65_DAMMGG", "CG65_AMMGG"}},
        {"CG6B_CONDPAGLING", {"CG6B_CODICE_CG62", "CG6B_LINGUA_MG52"}},
        {"CG64_SOTTOTIPO", {"CG64_TIPOEFF", "CG64_CODSTIPOEFF"}},
    };
    static const std::vector<std::string> none;
    std::string upper(table);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto it = keys.find(upper);
    return it == keys.end() ? none : it->second;
}

Status create_database(Connection& connection, bool with_demo_data) {
    for (const char* sql : kTables) {
        if (auto done = connection.ExecuteChange(sql); !done) return done.error();
    }
    for (const char* sql : kIndexes) {
        if (auto done = connection.ExecuteChange(sql); !done) return done.error();
    }
    if (!with_demo_data) return success();
    return insert_demo_data(connection);
}

Expected<Connection> open_database(const std::string& connection_string_or_path, OpenMode mode) {
    std::string text = connection_string_or_path;
    bool odbc = text.rfind("odbc:", 0) == 0;
    std::string shown = odbc ? "ODBC" : text;
    if (!odbc) {
        std::string path = text.rfind("sqlite:", 0) == 0 ? text.substr(7) : text;
        shown = path;
        if (path.rfind("file:", 0) != 0 && !std::filesystem::exists(path)) {
            if (mode != OpenMode::CreateDemoWhenMissing) {
                return Error{"Impossibile aprire il database '" + path + "': il file non esiste",
                             "open"};
            }
            auto parent = std::filesystem::path(path).parent_path();
            std::error_code ignored;
            if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
            auto created = open_sqlite(path, true);
            if (!created) return created.error();
        }
        text = "sqlite:" + path;
    }
    Connection connection;
    connection.ConnectionString = text;
    if (mode == OpenMode::ReadOnly) connection.Mode = ConnectMode::Read;
    if (auto opened = connection.Open(); !opened) return opened.error();
    std::vector<std::string> missing = missing_tables(connection);
    if (missing.empty()) return connection;
    if (mode == OpenMode::CreateDemoWhenMissing) {
        auto empty = holds_no_table(connection);
        if (!empty) return empty.error();
        if (*empty) {
            if (auto created = create_database(connection, true); !created) {
                return created.error();
            }
            return connection;
        }
    }
    // Someone else's database: nothing is written into it.
    return Error{"Il database '" + shown +
                     "' non contiene le tabelle delle condizioni di pagamento (mancano: " +
                     joined(missing) + ")",
                 connection_string_or_path};
}

}  // namespace condpag
