# Run by CPack once the files are staged: Debian wants manual pages, the changelog and the README
# compressed with gzip at its best, without name or time stamp, so that the package builds the same
# each time. The guide's pages stay as they are, for the browser.
file(GLOB_RECURSE staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
list(FILTER staged INCLUDE REGEX "/share/man/man[1-9]/[^/]+\\.[1-9]$|/share/doc/[^/]+/(changelog|README\\.md)$")
foreach(file IN LISTS staged)
  execute_process(COMMAND gzip -9nf "${file}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
