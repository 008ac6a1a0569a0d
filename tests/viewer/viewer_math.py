# Vectors, pick rays and the failure both checkers raise.
import math


class CheckFailed(Exception):
    pass


def require(condition, message, *values):
    if not condition:
        raise CheckFailed(message % values)


def sub(a, b):
    return [x - y for x, y in zip(a, b)]


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def unit(a):
    return [x / math.sqrt(dot(a, a)) for x in a]


def close(a, b, tolerance):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def pick_ray(layout, pixel):
    # The eye and the unit direction through the centre of a window pixel.
    (width, height), camera = layout["window"], layout["camera"]
    r_min, r_max, u_min, u_max, near = camera["frustum"]
    r = r_min + (pixel[0] + 0.5) / width * (r_max - r_min)
    u = u_min + (height - pixel[1] - 0.5) / height * (u_max - u_min)
    return camera["eye"], unit([near * d + r * x + u * y for d, x, y in
                                zip(camera["direction"], camera["right"], camera["up"])])


def hit(ray, normal, point):
    (origin, direction) = ray
    t = dot(normal, sub(point, origin)) / dot(normal, direction)
    return [o + t * d for o, d in zip(origin, direction)]
