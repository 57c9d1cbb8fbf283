# Read by ctest after the discovered GoogleTest entries: the slowest of them
# with their seconds under the sanitizers, so that `ctest -j` starts them
# first on a build that has no timings of its own. The scripts' entries have
# theirs in CMakeLists.txt.
set(slow_tests
  "CountAgainstPlay.*scene 100" 180
  "ContentFolder.CheckContent(Warns|Passes)" 85
  "StoryFigures.OnlyALaterPlay" 75
  "UnshownEntries.EveryLine" 65
  "StoryExploration.EveryChoiceScene" 35
  "CountAgainstPlay.*scene 110" 30
  "StoryPlay.EndingTenFollows" 22
  "StoryFigures.The(SecondHalf|WalkersArithmetic)" 20
  "SavesTransfer.APlayedGame|EndingRoute" 9)
foreach(test IN LISTS pelmot_tests_TESTS)
  set(rest ${slow_tests})
  while(rest)
    list(POP_FRONT rest pattern cost)
    if(test MATCHES "${pattern}")
      set_tests_properties("${test}" PROPERTIES COST ${cost})
      break()
    endif()
  endwhile()
endforeach()
