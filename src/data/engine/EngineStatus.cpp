#include "data/engine/EngineStatus.h"

std::string EngineStatusText(uint16_t status)
{
    switch (status) {
    case DBIERR_BOF: return "At beginning of table.";
    case DBIERR_EOF: return "At end of table.";
    case DBIERR_NOCURRREC: return "No current record.";
    case DBIERR_RECNOTFOUND: return "Record/Key not found.";
    case DBIERR_HEADERCORRUPT: return "Corrupt table/index header.";
    case DBIERR_FILECORRUPT: return "Corrupt file - other than header.";
    case DBIERR_MEMOCORRUPT: return "Corrupt memo/BLOB file.";
    case DBIERR_INDEXCORRUPT: return "Corrupt index.";
    case DBIERR_READERR: return "Read failure.";
    case DBIERR_WRITEERR: return "Write failure.";
    case DBIERR_NODISKSPACE: return "Insufficient disk space.";
    case DBIERR_NOMEMORY: return "Insufficient memory for this operation.";
    case DBIERR_RECTOOBIG: return "Record size is too big for table.";
    case DBIERR_KEYVIOL: return "Key violation.";
    case DBIERR_MINVALERR: return "Minimum validity check failed.";
    case DBIERR_MAXVALERR: return "Maximum validity check failed.";
    case DBIERR_REQDERR: return "Field value required.";
    case DBIERR_INVALIDPARAM: return "Invalid parameter.";
    case DBIERR_INVALIDFIELDVALUE: return "Invalid field value.";
    case DBIERR_NOTABLENAME: return "Table name required.";
    case DBIERR_INVALIDCHAR: return "Character cannot be stored in the table's code page.";
    case DBIERR_LOCKED: return "Record locked by another user.";
    case DBIERR_FILELOCKED: return "Table is busy.";
    case DBIERR_NOTSUFFTABLERIGHTS: return "Insufficient table rights for operation. Password is required.";
    case DBIERR_INVALIDPASSWORD: return "Invalid password.";
    case DBIERR_NOSUCHTABLE: return "Table does not exist.";
    case DBIERR_UNKNOWNTBLTYPE: return "Unknown table type.";
    case DBIERR_TABLEREADONLY: return "Table is read only.";
    case DBIERR_NOTINEDITMODE: return "Not in edit mode.";
    case DBIERR_OSEACCES: return "Permission denied.";
    case DBIERR_OSENOENT: return "File or directory does not exist.";
    case DBIERR_UNSUPPORTEDFORMAT: return "Table format is not supported.";
    case DBIERR_NOTSUPPORTED: return "Capability not supported.";
    default: return std::string();
    }
}

void RaiseEngineError(uint16_t status, std::vector<std::string> details)
{
    std::vector<TDBError> stack;
    for (std::string& line : details)
        stack.push_back(TDBError{status, std::move(line)});
    throw EDBEngineError(status, EngineStatusText(status), std::move(stack));
}
