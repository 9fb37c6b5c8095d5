#include "data/engine/paradox/PxValidity.h"

#include "data/engine/paradox/PxFile.h"

#include <algorithm>

namespace px {

TPxValidity TPxValidity::Read(const std::string& path, const TPxHeader& header)
{
    TPxValidity v;
    v.Required.assign(header.Fields.size(), false);
    v.Defaults.assign(header.RecordSize(), 0);
    TPxFile file;
    if (!file.Open(path, false)) {
        v.Reason = "its validity-check file cannot be read";
        return v;
    }
    int64_t size = file.Size();
    if (size < 0x35 || size > (1 << 20)) {
        v.Reason = "its validity-check file is not in a known layout";
        return v;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    file.ReadAt(0, bytes.data(), bytes.size());
    if (bytes[1] < 4) {
        v.Reason = "it has validity checks of an old layout";
        return v;
    }
    if (Le32(&bytes[0x0D]) != 0) {
        v.Reason = "it takes part in referential integrity";
        return v;
    }
    size_t pos = 0x35;
    for (int i = 0; i < bytes[2]; ++i) {
        if (pos + 0x1C > bytes.size()) {
            v.Reason = "its validity-check file is not in a known layout";
            return v;
        }
        const uint8_t* e = &bytes[pos];
        int field = e[0];
        if (field >= static_cast<int>(header.Fields.size()) || Le32(e + 4) || Le32(e + 0x0C) || Le32(e + 0x10) ||
            Le32(e + 0x18) || e[3] != 0) {
            v.Reason = "it has validity checks (minimum, maximum, picture or lookup) the program does not enforce";
            return v;
        }
        v.Required[field] = e[2] == 1;
        const TPxField& f = header.Fields[field];
        if (Le32(e + 0x14)) {
            if (pos + 0x1C + f.Width > bytes.size() || f.IsBlob()) {
                v.Reason = "its validity-check file is not in a known layout";
                return v;
            }
            std::copy(e + 0x1C, e + 0x1C + f.Width, v.Defaults.begin() + f.Offset);
        }
        pos += 0x1C + (Le32(e + 0x14) ? f.Width : 0);
    }
    v.Understood = true;
    return v;
}

} // namespace px
