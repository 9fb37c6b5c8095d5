#include "grid/footers/DBGridGxFooterSummaries.h"

// No summary is kept yet: footers of the summary kinds show no value.

void TDBGridGxFooterSummaries::FooterChanged(TColumnFooterGx& /*footer*/) {}

void TDBGridGxFooterSummaries::FooterDestroying(TColumnFooterGx& /*footer*/) {}

void TDBGridGxFooterSummaries::DataChanged() {}

bool TDBGridGxFooterSummaries::Value(const TColumnFooterGx& /*footer*/, int64_t& /*scaledValue*/) const
{
    return false;
}
