# Packs the web site SITE into ZIP as the folder datum/, the same bytes for
# the same files: names in order, every time SOURCE_DATE_EPOCH (or the
# earliest time a zip file holds), in UTC, and no owner or extra fields
# (zip -X).
#   cmake -DSITE=FOLDER -DZIP=FILE -P zip_site.cmake
find_program(ZIP_PROGRAM zip REQUIRED)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(time @$ENV{SOURCE_DATE_EPOCH})
else()
  set(time "1980-01-01 00:00:00 UTC")
endif()

get_filename_component(stage ${ZIP} DIRECTORY)
set(stage ${stage}/site-zip)
file(REMOVE_RECURSE ${stage})
file(COPY ${SITE}/ DESTINATION ${stage}/datum)
file(GLOB names RELATIVE ${stage} ${stage}/datum/*)
list(SORT names)
execute_process(COMMAND touch -d ${time} ${stage}/datum ${names}
  WORKING_DIRECTORY ${stage}
  COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP_PROGRAM} -q -X -D ${ZIP} ${names}
  WORKING_DIRECTORY ${stage}
  COMMAND_ERROR_IS_FATAL ANY)
