#pragma once
// In-memory tables the lookup list tests bind: a list of trees (key CODE,
// name NAME, a second list field LATIN) and an edited table of plantings
// whose TREE field holds a code, with a lookup field TREENAME over it.

#include "data/DataSource.h"
#include "data/FieldTypes.h"
#include "data/MemTable.h"

#include <string>
#include <utility>
#include <vector>

struct TTreeTables {
    TMemTable Trees;
    TDataSource TreeSource{&Trees};
    TMemTable Plantings;
    TDataSource PlantingSource{&Plantings};

    explicit TTreeTables(const std::vector<std::pair<int, std::string>>& trees)
    {
        Trees.FieldDefs().Add("CODE", ftInteger);
        Trees.FieldDefs().Add("NAME", ftString, 40);
        Trees.FieldDefs().Add("LATIN", ftString, 50);
        for (const auto& [code, name] : trees)
            Trees.AppendRecord({TVariant(code), TVariant(name), TVariant("Genus " + name)});
        Trees.Open();

        Plantings.FieldDefs().Add("NO", ftInteger);
        Plantings.FieldDefs().Add("TREE", ftInteger);
        Plantings.AppendRecord({TVariant(1), TVariant(trees.empty() ? 0 : trees.front().first)});
        Plantings.AppendRecord({TVariant(2), TVariant::Null()});
    }

    // Adds the lookup field TREENAME (TREE -> Trees.CODE, showing NAME) and opens Plantings.
    void OpenPlantingsWithLookup()
    {
        for (const char* name : {"NO", "TREE"}) {
            auto field = CreateField(ftInteger);
            field->SetFieldName(name);
            Plantings.Fields().Add(std::move(field));
        }
        auto treeName = CreateField(ftString, 20);
        treeName->SetFieldName("TREENAME");
        treeName->SetFieldKind(fkLookup);
        treeName->SetLookupDataSet(&Trees);
        treeName->KeyFields = "TREE";
        treeName->LookupKeyFields = "CODE";
        treeName->LookupResultField = "NAME";
        Plantings.Fields().Add(std::move(treeName));
        Plantings.Open();
    }

    int CurrentCode() const { return Trees.FieldByName("CODE")->AsInteger(); }
};

// Twenty trees with codes 1..20, names "Tree 01" .. "Tree 20".
inline std::vector<std::pair<int, std::string>> NumberedTrees(int count)
{
    std::vector<std::pair<int, std::string>> trees;
    for (int i = 1; i <= count; ++i)
        trees.emplace_back(i, std::string("Tree ") + (i < 10 ? "0" : "") + std::to_string(i));
    return trees;
}
