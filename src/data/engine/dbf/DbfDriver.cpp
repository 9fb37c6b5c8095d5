#include "data/engine/dbf/DbfDriver.h"

#include "data/engine/dbf/DbfCreate.h"
#include "data/engine/dbf/DbfCursor.h"

namespace {

class TDbfDriver : public TEngineDriver {
public:
    std::vector<std::string> Names() const override { return {"DBASE", "FOXPRO"}; }

    std::unique_ptr<TEngineCursor> OpenTable(const TOpenTableParams& params) override
    {
        return std::make_unique<TDbfCursor>(params);
    }

    void CreateTable(const TCreateTableParams& params) override { DbfCreateTable(params); }
};

} // namespace

std::shared_ptr<TEngineDriver> CreateDbfDriver()
{
    return std::make_shared<TDbfDriver>();
}
