#include "pages/assignmentpage.h"

void AssignmentPage::applyPendingScale()
{
    if (!m_pendingScale)
        return;
    const double ratio = *m_pendingScale;
    m_pendingScale.reset();
    setScale(ratio);
}
