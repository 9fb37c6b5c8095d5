#pragma once
// Damaged and random input for the importers: interchange-format buffers
// and texts made from valid exports by flipping, cutting, inserting and
// overwriting bytes (lengths past the input, names without their 0 byte,
// unknown tags, values cut short), plus purely random ones.  Every import
// must end in its format error, a silent abort (the error prompt's No) or
// a clean import, with the dataset back in browse state.

#include "ImportTestSupport.h"

#include "data/DataSet.h"
#include "exchange/DBGridGxExportAsText.h"
#include "exchange/DBGridGxExportAsVCLDBIF.h"

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

class TImportFuzzer {
public:
    explicit TImportFuzzer(uint32_t seed) : FRandom(seed)
    {
        Grid.AddField("ID", ftInteger);
        Grid.AddField("NAME", ftString, 12);
        Grid.AddField("AMOUNT", ftFloat);
        Grid.AddField("DAY", ftDate);
        Grid.AddField("FLAG", ftBoolean);
        Grid.AddField("NOTE", ftMemo);
        Grid.AddField("RAW", ftVarBytes, 6);
        for (int id = 1; id <= 6; ++id)
            Grid.AddRecord({TVariant(id), TVariant("名" + std::to_string(id)), TVariant(id * 1.25),
                            TVariant::FromDateTime(40000 + id), TVariant(id % 2 == 0),
                            TVariant("note\r\n" + std::to_string(id)), TVariant(TBytes{0, uint8_t(id)})});
        Grid.Bind();
        Grid.Selection().SelectAll();
        FSeeds = {Exported(ExportClass<TDBGridGxExportAsVCLDBIF>, *Grid.Grid, false),
                  Exported(ExportClass<TDBGridGxExportAsText>, *Grid.Grid, false)};
        Grid.Selection().Clear();
    }

    // Runs `count` inputs, half of each kind; raises std::runtime_error at
    // the first import that ends in any other way than allowed.
    void Run(int count)
    {
        for (int i = 0; i < count; ++i) {
            const bool interchange = i % 2 == 0;
            LastInput = Mutant(interchange);
            RunOne(interchange, LastInput);
        }
    }

    std::string LastInput;
    int FormatErrors = 0;
    int CleanImports = 0;
    int Aborts = 0;

private:
    std::string Mutant(bool interchange)
    {
        const std::string& seed = FSeeds[interchange ? 0 : 1];
        switch (Pick(8)) {
        case 0:
            return RandomBytes(Pick(64), interchange);
        default: {
            std::string bytes = seed;
            const int damages = 1 + Pick(4);
            for (int d = 0; d < damages; ++d)
                Damage(bytes);
            return bytes;
        }
        }
    }

    std::string RandomBytes(int size, bool interchange)
    {
        std::string bytes = interchange && Pick(2) == 0 ? std::string("VCLDBIF\x01", 8) : std::string();
        for (int i = 0; i < size; ++i)
            bytes += static_cast<char>(Pick(256));
        return bytes;
    }

    void Damage(std::string& bytes)
    {
        if (bytes.empty()) {
            bytes += static_cast<char>(Pick(256));
            return;
        }
        const size_t at = static_cast<size_t>(Pick(static_cast<int>(bytes.size())));
        switch (Pick(7)) {
        case 0:   // flip one byte
            bytes[at] = static_cast<char>(Pick(256));
            break;
        case 1:   // cut short
            bytes.resize(at);
            break;
        case 2:   // insert bytes
            bytes.insert(at, RandomBytes(1 + Pick(6), false));
            break;
        case 3: {   // a 32-bit length or count far past the input, or negative
            static const int32_t lengths[] = {0x7FFFFFFF, -1, INT32_MIN, 65536, 1000000, 3};
            const int32_t value = lengths[Pick(6)];
            for (int i = 0; i < 4 && at + i < bytes.size(); ++i)
                bytes[at + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
            break;
        }
        case 4:   // drop the 0 bytes (names and tags lose their ends)
            std::erase(bytes, '\0');
            break;
        case 5:   // text line ends damaged
            bytes.insert(at, Pick(2) == 0 ? "\r" : "\n");
            break;
        default:   // delete a byte
            bytes.erase(at, 1);
            break;
        }
    }

    void RunOne(bool interchange, const std::string& input)
    {
        // The error prompt's answers vary too.
        static const TModalResult answers[] = {mrYes, mrAll, mrNo};
        TMessageAnswerer answerer(answers[Pick(3)]);
        Grid.Selection().Clear();
        Grid.Grid->SetAllowedOperations(Pick(4) == 0 ? AllAllowedOperationsGx - alopAppendGx
                                                      : AllAllowedOperationsGx);
        Grid.Table->First();
        Grid.Table->MoveBy(Pick(6));
        const bool importAll = Pick(3) == 0;
        try {
            if (interchange)
                ImportVCLDBIF(*Grid.Grid, input, importAll);
            else
                ImportText(*Grid.Grid, input, importAll);
            ++CleanImports;
        } catch (const EAbort&) {
            ++Aborts;
        } catch (const Exception& error) {
            const std::string expected = interchange ? "TDBGridGxImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format"
                                                     : "TDBGridGxImportAsText.CheckState: Invalid text format";
            if (error.Message() != expected)
                throw std::runtime_error("unexpected failure: " + error.Message());
            ++FormatErrors;
        }
        if (Grid.Table->State() != dsBrowse)
            throw std::runtime_error("dataset left in edit state");
        // Keep the table small: rows the imports appended go again.
        while (Grid.Table->RecordCount() > 12) {
            Grid.Table->Last();
            Grid.Table->Delete();
        }
    }

    int Pick(int below) { return below <= 0 ? 0 : std::uniform_int_distribution<int>(0, below - 1)(FRandom); }

    TExportGrid Grid;
    std::mt19937 FRandom;
    std::vector<std::string> FSeeds;
};
