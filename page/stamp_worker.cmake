# Writes the site's service worker with a cache name of its own: a hash of
# the files it keeps, so each build that changes them replaces the old cache.
# cmake -DSITE=<folder> -DTEMPLATE=<sw.js> -P stamp_worker.cmake
set(hashes "")
foreach(file index.html page.js vellumor.js vellumor.wasm manifest.json vellumor.svg)
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND hashes ${hash})
endforeach()
string(SHA256 stamp "${hashes}")
string(SUBSTRING ${stamp} 0 16 VELLUMOR_SITE_STAMP)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
