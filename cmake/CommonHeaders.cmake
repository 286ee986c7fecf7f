# The headers nearly every file of a target includes, compiled once per target rather than once
# per file: a clean build takes a good part less time. -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON
# builds without them (to check that each file includes what it uses).
set(QORV_COMMON_HEADERS
  <QByteArray> <QDateTime> <QList> <QString> <QStringList> <QStringView>
  <algorithm> <cmath> <functional> <memory> <optional> <vector>)

function(qorv_precompile_common_headers target)
  target_precompile_headers(${target} PRIVATE ${QORV_COMMON_HEADERS} ${ARGN})
endfunction()
