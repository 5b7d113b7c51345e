# Copies the packable files of assets/ into a fresh staging folder (run by cmake -P from data.cmake).
#   -D SRC=<assets folder> -D DST=<staging folder>
# Only pictures, sounds, maps and stage texts of the four archive folders are staged; the generator
# programs and notes that live beside them stay out of the archive.
file(REMOVE_RECURSE "${DST}")
foreach(folder texture se bgm map)
  file(MAKE_DIRECTORY "${DST}/${folder}")
  file(GLOB_RECURSE files RELATIVE "${SRC}/${folder}"
    "${SRC}/${folder}/*.png" "${SRC}/${folder}/*.mp3" "${SRC}/${folder}/*.wav"
    "${SRC}/${folder}/*.fmf" "${SRC}/${folder}/*.txt")
  foreach(f ${files})
    get_filename_component(sub "${f}" DIRECTORY)
    file(COPY "${SRC}/${folder}/${f}" DESTINATION "${DST}/${folder}/${sub}")
  endforeach()
endforeach()
