# The direct-search tool end to end: named problems, JSON output, progress
# lines and usage errors.
set(DIRECT_SEARCH $<TARGET_FILE:direct-search>)

add_test(NAME direct_search_json COMMAND ${DIRECT_SEARCH} branin --json)
set_tests_properties(direct_search_json PROPERTIES
  PASS_REGULAR_EXPRESSION "\"evaluations\": 195,.*\"status\": 4,.*\"status_text\": \"within the relative tolerance of the target\"")

add_test(NAME direct_search_maximise COMMAND ${DIRECT_SEARCH} camel6 --maximise --evals 300 --json)
set_tests_properties(direct_search_maximise PROPERTIES
  PASS_REGULAR_EXPRESSION "\"evaluations\": 29[0-9],.*\"f\": [0-9.e+-]+,.*\"maximise\": true,.*\"status\": 1")

add_test(NAME direct_search_resume COMMAND ${DIRECT_SEARCH} shekel5 --no-target --evals 100 --resume-evals 300 --json)
set_tests_properties(direct_search_resume PROPERTIES
  PASS_REGULAR_EXPRESSION "\"evaluations\": 2[89][0-9],")

add_test(NAME direct_search_progress COMMAND ${DIRECT_SEARCH} hartman6 --no-target --iters 3 --progress)
set_tests_properties(direct_search_progress PROPERTIES
  PASS_REGULAR_EXPRESSION "Iter:    1   fbest: .*Iter:    3   fbest: .*status:       6 \\(iteration limit reached\\)")

add_test(NAME direct_search_list COMMAND ${DIRECT_SEARCH} --list)
set_tests_properties(direct_search_list PROPERTIES PASS_REGULAR_EXPRESSION "shekel10 +Shekel 10 +4")

add_test(NAME direct_search_unknown_problem COMMAND ${DIRECT_SEARCH} rosenbrock)
set_tests_properties(direct_search_unknown_problem PROPERTIES WILL_FAIL TRUE)
