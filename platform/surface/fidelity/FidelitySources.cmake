# The page pipeline's plain functions (no browser), for the targets that build
# them in on their own: their tests and fuzz targets.
set(fidelity_pipeline_sources
  ${CMAKE_CURRENT_LIST_DIR}/HtmlTokenizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SourceTree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PagePreparation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PageRebuild.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextAlignment.cpp)
