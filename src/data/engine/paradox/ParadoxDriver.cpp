#include "data/engine/paradox/ParadoxDriver.h"

#include "data/engine/paradox/ParadoxCursor.h"
#include "data/engine/paradox/PxCreate.h"

namespace {

class TParadoxDriver : public TEngineDriver {
public:
    std::vector<std::string> Names() const override { return {"PARADOX"}; }

    std::unique_ptr<TEngineCursor> OpenTable(const TOpenTableParams& params) override
    {
        return std::make_unique<TParadoxCursor>(params);
    }

    void CreateTable(const TCreateTableParams& params) override { px::CreateParadoxTable(params); }
};

} // namespace

std::shared_ptr<TEngineDriver> CreateParadoxDriver()
{
    return std::make_shared<TParadoxDriver>();
}
