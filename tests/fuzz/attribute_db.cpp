// Attribute databases: a database file opened read-only and read through.
#include "FuzzSupport.h"

#include <tamsel/GeoAttributeDatabase.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = fuzz::Scratch("a.mdb");
    fuzz::WriteBytes(path, data, size);
    CGeoAttributeDatabase db(GetDAOEngine(), path.c_str(), 1);
    if (db.IsOpen()) {
        for (UINT cls : {0u, 1u, 2u}) {
            db.GetIDCount(cls);
            for (UINT id = 1; id <= 3; ++id) {
                CGeoAttributeDatabase::CValueList values;
                db.GetIDValue(id, &values, cls);
            }
        }
    }
    AfxClearMessageLog();
    return 0;
}

void CorvaneFuzzWriteSeeds(const std::string& dir) {
    CGeoAttributeDatabase db(GetDAOEngine());
    if (!db.IsOpen()) return;
    CDaoFieldInfo name;
    name.m_strName = "名称";
    name.m_nType = dbText;
    name.m_lSize = 32;
    CDaoFieldInfo lanes;
    lanes.m_strName = "车道";
    lanes.m_nType = dbLong;
    lanes.m_lSize = 4;
    db.AddField(name, 0, 0);
    db.AddField(lanes, 1, 1);
    CGeoAttributeDatabase::CValueList values;
    COleVariant text("京沪线"), number(static_cast<LONG>(6));
    values.AddTail(text);
    values.AddTail(number);
    db.SetIDValue(1, &values, 1);
    db.Save((dir + "/attributes.mdb").c_str());
}
