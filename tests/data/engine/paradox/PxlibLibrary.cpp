#include "PxlibLibrary.h"

#include <dlfcn.h>

namespace {

template <typename F>
bool Bind(void* library, const char* name, F& function)
{
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

} // namespace

const TPxlib* TPxlib::Get()
{
    static const TPxlib* instance = []() -> const TPxlib* {
        void* library = dlopen("libpx.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return nullptr;
        static TPxlib px;
        bool ok = Bind(library, "PX_new", px.New) && Bind(library, "PX_open_file", px.OpenFile) &&
                  Bind(library, "PX_set_targetencoding", px.SetTargetEncoding) &&
                  Bind(library, "PX_get_num_records", px.NumRecords) && Bind(library, "PX_get_num_fields", px.NumFields) &&
                  Bind(library, "PX_get_recordsize", px.RecordSize) && Bind(library, "PX_get_fields", px.Fields) &&
                  Bind(library, "PX_get_record", px.GetRecord) && Bind(library, "PX_get_data_alpha", px.Alpha) &&
                  Bind(library, "PX_get_data_bytes", px.Bytes) && Bind(library, "PX_get_data_double", px.Double) &&
                  Bind(library, "PX_get_data_long", px.Long) && Bind(library, "PX_get_data_short", px.Short) &&
                  Bind(library, "PX_get_data_byte", px.Byte) && Bind(library, "PX_get_data_bcd", px.Bcd) &&
                  Bind(library, "PX_close", px.Close) && Bind(library, "PX_delete", px.Delete);
        return ok ? &px : nullptr;
    }();
    return instance;
}
