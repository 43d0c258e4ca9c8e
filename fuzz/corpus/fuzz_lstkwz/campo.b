-1
-1
2
León
nom
