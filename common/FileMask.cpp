#include "common/FileMask.h"

#include "common/StrUtils.h"

bool MatchesFileMask(const std::string& name, const std::string& mask)
{
    if (mask == "*.*" || mask == "*") return true;
    const std::string n = LowerCase(name), m = LowerCase(mask);
    // Greedy matching with one back-track point: the last "*" seen. Linear in practice and
    // without recursion, whatever the mask.
    size_t ni = 0, mi = 0, starMi = std::string::npos, starNi = 0;
    while (ni < n.size()) {
        if (mi < m.size() && (m[mi] == '?' || m[mi] == n[ni])) {
            ++ni;
            ++mi;
        } else if (mi < m.size() && m[mi] == '*') {
            starMi = mi++;
            starNi = ni;
        } else if (starMi != std::string::npos) {
            mi = starMi + 1;
            ni = ++starNi;
        } else {
            return false;
        }
    }
    while (mi < m.size() && m[mi] == '*') ++mi;
    return mi == m.size();
}
