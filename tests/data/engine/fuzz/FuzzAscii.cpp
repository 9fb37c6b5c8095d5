// The ASCII driver's fuzz target: a .txt with its .sch schema.  The corpus
// holds no such tables, so the seeds are written here: delimited and fixed
// layouts with every column type.

#include "FuzzTarget.h"

#include "data/engine/ascii/AsciiDriver.h"

namespace {

TFuzzSeed Seed(const char* name, const char* schema, const char* text)
{
    return TFuzzSeed{name, {{0, text}, {0, schema}}};
}

std::vector<TFuzzSeed> Seeds(const std::string&, size_t)
{
    return {
        Seed("varying", "[T]\r\nFILETYPE = VARYING\r\nCHARSET = ansiintl\r\nDELIMITER = \"\r\nSEPARATOR = ,\r\n"
                        "Field1 = Name,CHAR,24,00,00\r\nField2 = Price,FLOAT,12,02,24\r\n"
                        "Field3 = Qty,NUMBER,6,00,36\r\nField4 = Ok,BOOL,1,00,42\r\n"
                        "Field5 = Count,LONGINT,11,00,43\r\nField6 = Due,DATE,10,00,54\r\n"
                        "Field7 = At,TIME,8,00,64\r\nField8 = Stamp,TIMESTAMP,20,00,72\r\n"
                        "Field9 = Cost,CURRENCY,14,02,92\r\n",
             "\"Bolt, \"\"small\"\"\",1.25,12,T,100000,1/31/2020,10:15:00,1/31/2020 10:15:00,4.50\r\n"
             "\"Nut\",0.5,-3,F,-7,12/1/1999,23:59:59,12/1/1999 0:00:00,400000\r\n"
             ",,,,,,,,\r\n"),
        Seed("fixed", "[T]\nFILETYPE=FIXED\nCHARSET=ascii\n"
                      "Field1=Code,CHAR,4,00,00\nField2=Qty,NUMBER,5,00,04\nField3=Due,DATE,10,00,10\n"
                      "Field4=Rate,FLOAT,8,03,20\n",
             "A1  00012 1/31/2020   1.500\nB2     -7            -2.250\nC3\n"),
        Seed("semicolons", "[T]\r\nFILETYPE = VARYING\r\nCHARSET = ascii\r\nSEPARATOR = ;\r\n"
                           "Field1 = Word,CHAR,8,00,00\r\nField2 = N,LONGINT,11,00,08\r\n",
             "alpha;1\r\nbeta;2\r\ngamma;3\r\n"),
    };
}

} // namespace

const TFuzzDriver& FuzzDriver()
{
    static const TFuzzDriver driver{"ascii", {"txt", "sch"}, CreateAsciiDriver, Seeds};
    return driver;
}
