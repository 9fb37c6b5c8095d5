#include "FuzzInput.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

std::string PackFuzzInput(const std::vector<TFuzzPart>& parts)
{
    std::string buffer;
    for (const TFuzzPart& part : parts) {
        buffer += static_cast<char>(part.Kind);
        const uint32_t length = static_cast<uint32_t>(part.Bytes.size());
        for (int i = 0; i < 4; ++i)
            buffer += static_cast<char>(length >> (8 * i));
        buffer += part.Bytes;
    }
    return buffer;
}

std::vector<TFuzzPart> UnpackFuzzInput(const uint8_t* data, size_t size)
{
    std::vector<TFuzzPart> parts;
    size_t pos = 0;
    while (pos + 5 <= size) {
        TFuzzPart part;
        part.Kind = data[pos];
        uint32_t length = 0;
        for (int i = 0; i < 4; ++i)
            length |= static_cast<uint32_t>(data[pos + 1 + i]) << (8 * i);
        pos += 5;
        const size_t take = std::min<size_t>(length, size - pos);
        part.Bytes.assign(reinterpret_cast<const char*>(data + pos), take);
        pos += take;
        parts.push_back(std::move(part));
    }
    return parts;
}

std::string WriteFuzzFiles(const std::vector<TFuzzPart>& parts, const std::vector<std::string>& extensions,
                           const std::string& folder)
{
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored))
        fs::remove_all(entry.path(), ignored);
    if (parts.empty() || extensions.empty())
        return {};
    std::string table;
    for (size_t i = 0; i < parts.size(); ++i) {
        // The table file is always the first extension; companions never replace it.
        const size_t kind = i == 0 ? 0 : 1 + parts[i].Kind % std::max<size_t>(extensions.size() - 1, 1);
        const std::string path = folder + "/t." + extensions[std::min(kind, extensions.size() - 1)];
        if (i > 0 && path == table)
            continue;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << parts[i].Bytes;
        if (i == 0)
            table = path;
    }
    return table;
}
