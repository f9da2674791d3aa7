"""Where the perspective camera's frustum, its yellow wire box, shows in a picture."""

from harness.pictures import is_yellow, where


def box(image):
    """The frustum's wire box, away from the picture's edges."""
    found = where(image, is_yellow, (2, 2, image.width - 2, image.height - 2))
    assert found, "no frustum box"
    return found


def eye(image):
    """The eye in the top view: the box's lowest point."""
    return max(box(image), key=lambda p: p[1])


def lean(image):
    """How far right of the eye the middle of the frustum lies in the top view."""
    x, y = eye(image)
    band = [px for px, py in box(image) if y - 50 <= py <= y - 10]
    return sum(band) / len(band) - x
