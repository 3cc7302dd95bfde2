#include "dao/DaoFieldInfo.h"

CDaoFieldInfo::CDaoFieldInfo()
    : m_nType(0),
      m_lSize(0),
      m_lAttributes(0),
      m_nOrdinalPosition(0),
      m_bRequired(FALSE),
      m_bAllowZeroLength(FALSE),
      m_lCollatingOrder(0) {}
