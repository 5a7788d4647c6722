#pragma once
// Runs the invoice schema's validator (xmllint) over a block, as the tax authority's checks
// would. The schema folder comes from the build (CONDPAG_STANDARDS_DIR).

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "storage/testing/demo_database.h"

namespace condpag::testing {

inline std::string payment_block_schema() {
    return std::string(CONDPAG_STANDARDS_DIR) + "/DatiPagamento.xsd";
}

// Skips the calling test when the schema is not beside the repository.
#define CONDPAG_NEED_PAYMENT_SCHEMA()                                           \
    if (!std::filesystem::exists(::condpag::testing::payment_block_schema()))   \
    GTEST_SKIP() << "schema " << ::condpag::testing::payment_block_schema()     \
                 << " not found: the blocks are not validated (configure with " \
                    "-DCONDPAG_STANDARDS_DIR=folder of DatiPagamento.xsd)"

struct SchemaVerdict {
    bool valid = false;
    std::string output;  // what xmllint said
};

inline SchemaVerdict validate_payment_block(const std::string& xml) {
    TempFolder folder;
    const std::string file = folder.path() + "/block.xml";
    std::ofstream(file, std::ios::binary) << xml;
    const std::string command =
        "xmllint --nonet --noout --schema '" + payment_block_schema() + "' '" + file + "' 2>&1";
    SchemaVerdict verdict;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return verdict;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        verdict.output.append(buffer, n);
    }
    const int status = pclose(pipe);
    verdict.valid = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return verdict;
}

}  // namespace condpag::testing
