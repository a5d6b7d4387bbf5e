// Shared output of the commands: one JSON document with --json, aligned text otherwise, and the
// wording of failures (exit codes 1, 2 and 3).
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace tarnel {

// One named value, as a JSON member and as a line of text ("Label   value").
struct OutputField {
    std::string key;    // the JSON member name
    std::string label;  // the text label
    nlohmann::json value;
    std::string text;   // the text form of value; empty: value printed as it stands
};

// Rows of named columns: a JSON array of objects, or an aligned text table with a header.
struct OutputTable {
    struct Column {
        std::string key;
        std::string label;
    };
    std::vector<Column> columns;
    std::vector<std::vector<nlohmann::json>> rows;  // one value per column

    void addRow(std::vector<nlohmann::json> row) { rows.push_back(std::move(row)); }
    nlohmann::json toJson() const;
};

// The text of a JSON value as a text line shows it (strings unquoted, arrays comma-separated).
std::string PlainText(const nlohmann::json& value);

// "Label:  value" lines with the values aligned after the longest label.
void PrintFields(std::ostream& out, const std::vector<OutputField>& fields);
nlohmann::json FieldsToJson(const std::vector<OutputField>& fields);
// Header and rows, each column as wide as its widest cell, two spaces between columns.
void PrintTable(std::ostream& out, const OutputTable& table);

// "0x0C45"-style hexadecimal with `digits` digits.
std::string HexText(unsigned value, int digits);
// The meaning of a device result code: "ok", "no reply", "write failed", "status 0xFF", ...
std::string ResultMeaning(int result);
// The name of a command code: "read information block", ...; "command N" when unknown.
std::string CommandName(int code);

}  // namespace tarnel
