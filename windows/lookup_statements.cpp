#include "windows/lookup_statements.h"

#include "rules/value.h"
#include "storage/statements.h"

namespace condpag {
namespace {

constexpr const char* kCrLf = "\r\n";

// The country's number as the foreign-payment statements join on it.
std::string country_number(std::string_view country) { return decimal_text(CDecN(country)); }

// Which foreign payment codes serve the joined country; `indent` opens every line.
std::string export_payment_match(const std::string& indent) {
    const std::string i = indent;
    return i + "(" + kCrLf +                                                 //
           i + "   CG6D_CODISO IS NOT NULL" + kCrLf +                        //
           i + "   AND CG6D_CODISO = CG07_CODISO" + kCrLf +                  //
           i + ")" + kCrLf +                                                 //
           i + "OR" + kCrLf +                                                //
           i + "(" + kCrLf +                                                 //
           i + "   CG6D_CODISO IS NULL" + kCrLf +                            //
           i + "   AND ISNULL(CG07_FLGSEPA, 0) =" + kCrLf +                  //
           i + "   (" + kCrLf +                                              //
           i + "      CASE" + kCrLf +                                        //
           i + "         WHEN CG6D_AREA IN (0, 1) THEN CG6D_AREA" + kCrLf +  //
           i + "         ELSE ISNULL(CG07_FLGSEPA, 0)" + kCrLf +             //
           i + "      END" + kCrLf +                                         //
           i + "   )" +                                                      //
           i + ")" + kCrLf;
}

}  // namespace

std::string subtypes_statement(double payment_type) {
    return std::string(" SELECT") + "    *" + " FROM" + "    CG64_SOTTOTIPO" + " WHERE" +
           "    CG64_TIPOEFF = " + decimal_text(payment_type) + " ORDER BY" +
           "    CG64_CODSTIPOEFF";
}

Expected<std::string> country_name_statement(std::string_view country) {
    auto number = digits_only(RTrimN(country));
    if (!number) return number.error();
    return std::string(" SELECT") + "   CG07_DESCR" + " FROM" + "   CG07_TABSTATIEST" + " WHERE" +
           "   (CG07_CODICE = " + *number + ")";
}

std::string country_list_statement() {
    return "SELECT CG07_CODICE,CG07_DESCR FROM CG07_TABSTATIEST ORDER BY CG07_CODICE";
}

std::string export_payment_decode_statement(std::string_view country, std::string_view code) {
    return std::string("SELECT") + kCrLf +                                     //
           "   CG6D_DESCRPAG" + kCrLf +                                        //
           "FROM" + kCrLf +                                                    //
           "   CG6D_CODPAGEXPMAN" + kCrLf +                                    //
           "INNER JOIN CG07_TABSTATIEST ON" + kCrLf +                          //
           "   CG07_CODICE = " + country_number(country) + kCrLf +             //
           "WHERE" + kCrLf +                                                   //
           "   CG6D_CODICE = '" + quote_doubled(RTrimN(code)) + "'" + kCrLf +  //
           "   AND" + kCrLf +                                                  //
           "   (" + kCrLf +                                                    //
           export_payment_match("      ") +                                    //
           "   )" + kCrLf;
}

std::string export_payment_list_statement(std::string_view country) {
    return std::string("SELECT") + kCrLf +                          //
           "   CG6D_CODICE" + kCrLf +                               //
           "   , CG6D_DESCRPAG" + kCrLf +                           //
           "FROM" + kCrLf +                                         //
           "   CG6D_CODPAGEXPMAN" + kCrLf +                         //
           "INNER JOIN CG07_TABSTATIEST ON" + kCrLf +               //
           "   CG07_CODICE = " + country_number(country) + kCrLf +  //
           "WHERE" + kCrLf +                                        //
           export_payment_match("   ") +                            //
           "ORDER BY" + kCrLf +                                     //
           "   CG6D_CODICE" + kCrLf;
}

std::string export_payment_name_statement(std::string_view code) {
    return "SELECT CG6D_DESCRPAG FROM CG6D_CODPAGEXPMAN WHERE CG6D_CODICE = '" +
           quote_doubled(RTrimN(code)) + "'";
}

Expected<std::string> subtype_name_statement(std::string_view payment_type,
                                             std::string_view subtype) {
    auto type = digits_only(RTrimN(payment_type));
    if (!type) return type.error();
    auto code = digits_only(RTrimN(subtype));
    if (!code) return code.error();
    return std::string(" SELECT") + "   CG64_DESCSTIPO" + " FROM" + "   CG64_SOTTOTIPO" + " WHERE" +
           "   (CG64_TIPOEFF = " + *type + ")" + "   AND (CG64_CODSTIPOEFF = " + *code + ")";
}

Expected<std::string> subtype_list_statement(std::string_view payment_type) {
    // The type goes in as the list holds it; it is only checked to be a number.
    if (auto checked = digits_only(payment_type); !checked) return checked.error();
    return std::string(" SELECT") + "   CG64_CODSTIPOEFF," + "   CG64_DESCSTIPO" + " FROM" +
           "   CG64_SOTTOTIPO" + " WHERE" + "   (CG64_TIPOEFF = " + std::string(payment_type) +
           ")" + " ORDER BY" + "   CG64_CODSTIPOEFF";
}

}  // namespace condpag
