#pragma once
// A small JSON reader for the test data manifest: objects, arrays,
// strings (with \u escapes and surrogate pairs), numbers, true/false/null.

#include <map>
#include <memory>
#include <string>
#include <vector>

class TJsonValue {
public:
    enum TKind { Null, Boolean, Number, String, Array, Object };

    static TJsonValue Parse(const std::string& text);   // throws std::runtime_error
    static TJsonValue ParseFile(const std::string& path);

    TKind Kind() const { return FKind; }
    bool IsNull() const { return FKind == Null; }
    bool IsString() const { return FKind == String; }
    bool IsObject() const { return FKind == Object; }
    bool IsArray() const { return FKind == Array; }

    const std::string& Str() const { return FString; }
    double Num() const { return FNumber; }
    bool Bool() const { return FBoolean; }
    const std::vector<TJsonValue>& Items() const { return FItems; }
    bool Has(const std::string& key) const { return FMembers.count(key) != 0; }
    // The member, or a null value when there is none.
    const TJsonValue& operator[](const std::string& key) const;

private:
    friend class TJsonParser;
    TKind FKind = Null;
    bool FBoolean = false;
    double FNumber = 0;
    std::string FString;
    std::vector<TJsonValue> FItems;
    std::map<std::string, TJsonValue> FMembers;
};
