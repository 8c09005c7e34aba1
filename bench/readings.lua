-- wrk: GET /v1/reading of random births (any day 1901-2100, any period, now and then a clock
-- time and a place with the spring year), the same sequence each run; with the argument page
-- (wrk … -s bench/readings.lua URL -- page), the page's links of the same births: GET /?….
math.randomseed(22)
local periods = { "%E5%AD%90", "%E4%B8%91", "%E5%AF%85", "%E5%8D%AF", "%E8%BE%B0", "%E5%B7%B3",
                  "%E5%8D%88", "%E6%9C%AA", "%E7%94%B3", "%E9%85%89", "%E6%88%8C", "%E4%BA%A5" }
local places = { "%E5%8C%97%E4%BA%AC", "%E4%B9%8C%E9%B2%81%E6%9C%A8%E9%BD%90", "Hong%20Kong" }
local paths = {}
init = function(args)
  if args[1] == "page" then
    for i = 1, #paths do paths[i] = paths[i]:gsub("^/v1/reading%?", "/?") end
  end
end
for i = 1, 10000 do
  local date = string.format("%d-%02d-%02d", math.random(1901, 2100), math.random(1, 12), math.random(1, 28))
  if i % 4 == 0 then
    paths[i] = string.format("/v1/reading?date=%s&time=%d:%02d&place=%s&yearStart=spring", date,
      math.random(0, 23), math.random(0, 59), places[math.random(1, #places)])
  else
    paths[i] = string.format("/v1/reading?date=%s&period=%s", date, periods[math.random(1, 12)])
  end
end
local n = 0
request = function()
  n = n % #paths + 1
  return wrk.format("GET", paths[n])
end
