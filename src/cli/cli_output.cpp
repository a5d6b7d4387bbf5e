#include "cli/cli_output.h"

#include <algorithm>
#include <ostream>

#include "common/safe_format.h"
#include "devicelink/command_set.h"
#include "devicelink/result.h"
#include "model/lighting_control.h"

namespace tarnel {

nlohmann::json OutputTable::toJson() const {
    nlohmann::json array = nlohmann::json::array();
    for (const auto& row : rows) {
        nlohmann::json object = nlohmann::json::object();
        for (size_t c = 0; c < columns.size() && c < row.size(); ++c)
            object[columns[c].key] = row[c];
        array.push_back(std::move(object));
    }
    return array;
}

std::string PlainText(const nlohmann::json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
    if (value.is_null()) return "-";
    if (value.is_array()) {
        std::string text;
        for (const auto& item : value) text += (text.empty() ? "" : ", ") + PlainText(item);
        return text;
    }
    return value.dump();
}

void PrintFields(std::ostream& out, const std::vector<OutputField>& fields) {
    size_t width = 0;
    for (const auto& f : fields) width = std::max(width, f.label.size() + 1);
    for (const auto& f : fields) {
        std::string label = f.label + ":";
        label.resize(width, ' ');
        out << label << "  " << (f.text.empty() ? PlainText(f.value) : f.text) << '\n';
    }
}

nlohmann::json FieldsToJson(const std::vector<OutputField>& fields) {
    nlohmann::json object = nlohmann::json::object();
    for (const auto& f : fields) object[f.key] = f.value;
    return object;
}

void PrintTable(std::ostream& out, const OutputTable& table) {
    std::vector<std::vector<std::string>> cells;
    std::vector<std::string> header;
    for (const auto& c : table.columns) header.push_back(c.label);
    cells.push_back(header);
    for (const auto& row : table.rows) {
        std::vector<std::string> line;
        for (const auto& v : row) line.push_back(PlainText(v));
        cells.push_back(std::move(line));
    }
    std::vector<size_t> widths(table.columns.size(), 0);
    for (const auto& line : cells)
        for (size_t c = 0; c < line.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], line[c].size());
    for (const auto& line : cells) {
        std::string text;
        for (size_t c = 0; c < line.size() && c < widths.size(); ++c) {
            std::string cell = line[c];
            if (c + 1 < line.size()) cell.resize(widths[c], ' ');
            text += (c ? "  " : "") + cell;
        }
        out << text << '\n';
    }
}

std::string HexText(unsigned value, int digits) {
    return SafeFormat("0x%0" + std::to_string(digits) + "X", {std::to_string(value)});
}

std::string ResultMeaning(int result) {
    switch (result) {
        case ResultOk: return "ok";
        case ResultNoReply: return "no reply";
        case ResultWriteFailed: return "write failed";
        case ResultStatusFF: return "status 0xFF";
        case ResultStatusFE: return "status 0xFE";
        case ResultBadProfile: return "profile out of range";
        case kLightingBadValue: return "value out of range";
        default: return "unknown result";
    }
}

std::string CommandName(int code) {
    switch (code) {
        case CmdCodeBegin: return "begin";
        case CmdCodeEnd: return "end";
        case CmdCodeReadInfo: return "read information block";
        case CmdCodeWriteInfo: return "write information block";
        case CmdCodeReadSettings: return "read settings";
        case CmdCodeWriteSettings: return "write settings";
        case CmdCodeReadKeyTable: return "read key table";
        case CmdCodeWriteKeyTable: return "write key table";
        case CmdCodeReadMacros: return "read macros";
        case CmdCodeWriteMacros: return "write macros";
        case CmdCodeTest: return "test";
        case CmdCodeReadDefaultKeyTable: return "read factory key table";
        case CmdCodeReadKeyColors: return "read key colours";
        case CmdCodeWriteKeyColors: return "write key colours";
        default: return "command " + std::to_string(code);
    }
}

}  // namespace tarnel
